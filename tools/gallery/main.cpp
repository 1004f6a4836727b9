// gallery: shows the framework's gallery form and its MDI form, for a
// person or a skin author to look at every control and menu at once.
#include <windows.h>

#include "GalleryForm.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TApplication application;
  application.SetTitle("Plimet gallery");
  auto* gallery = new TGalleryForm(&application);
  gallery->Show();
  auto* mdi = new TGalleryMDIForm(&application);
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  // In the bottom right corner, over as little of the centred gallery as the screen allows.
  mdi->SetBounds(work.right - mdi->Width(), work.bottom - mdi->Height(), mdi->Width(), mdi->Height());
  mdi->Show();
  for (const char* caption : {"First note", "Second note", "Third note"}) mdi->NewChild(caption);
  mdi->Cascade();
  application.SetMainForm(gallery);
  application.Run();
  return 0;
}
