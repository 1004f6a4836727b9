// formres TEXT BINARY [CLASS]: compiles a form's text description into the
// stored form the program carries as its resource. With CLASS, the text
// must describe a form of that class (the resource is named by it).
#include <fstream>
#include <iostream>
#include <iterator>

#include "formres/FormText.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::cerr << "usage: formres TEXT BINARY [CLASS]\n";
    return 2;
  }
  const std::string source = argv[1];
  std::ifstream in(source, std::ios::binary);
  if (!in) {
    std::cerr << source << ": cannot be read\n";
    return 1;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  try {
    const TStoredObject form = ParseFormText(text, source);
    if (argc == 4 && form.ClassName != argv[3]) {
      std::cerr << source << ": describes a " << form.ClassName << ", not a " << argv[3] << "\n";
      return 1;
    }
    const std::vector<std::uint8_t> bytes = WriteFormResource(form);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::cerr << argv[2] << ": cannot be written\n";
      return 1;
    }
  } catch (const EFormResourceError& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
  return 0;
}
