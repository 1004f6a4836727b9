#pragma once
// Edits whose text follows a mask: each position takes a digit, a letter,
// any character or is a fixed literal; input that does not fit is refused.
#include <string>
#include <vector>

#include "framework/win32/StdCtrls.h"

// A parsed edit mask. Mask characters: 0 digit, 9 digit or blank, # digit,
// sign or blank, L letter, l letter or blank, A letter or digit, a the
// same or blank, C any character, c any character or blank; > upper-cases
// and < lower-cases what follows (<> neither); \ makes the next character a
// literal; anything else is a literal. After the mask may come ";1" or ";0"
// (whether the value keeps the literals) and ";" with the blank character
// ("_" when not given).
class TEditMask {
public:
  TEditMask() = default;
  explicit TEditMask(const std::string& mask);
  bool Empty() const { return slots_.empty(); }
  std::size_t Length() const { return slots_.size(); }
  char Blank() const { return blank_; }
  bool SavesLiterals() const { return saveLiterals_; }
  bool IsLiteral(std::size_t position) const { return slots_.at(position).kind == 0; }
  bool IsRequired(std::size_t position) const { return slots_.at(position).required; }
  // The character as it is stored at a position (case directives applied),
  // or 0 when it does not fit there.
  char Accept(std::size_t position, char c) const;
  // The text shown for an empty value: literals, and blanks where input goes.
  std::string EmptyText() const;
  // The next (or previous) input position from a position, or Length() / npos.
  std::size_t NextInput(std::size_t from) const;
  std::size_t PreviousInput(std::size_t before) const;
  // Every required position filled.
  bool IsComplete(const std::string& editText) const;
  // The value of an edit text: the input characters (and the literals when
  // the mask saves them), blanks left out.
  std::string Value(const std::string& editText) const;

private:
  struct TSlot {
    char kind = 0;    // the mask character; 0 for a literal
    char literal = 0; // the literal shown
    bool required = false;
    int letterCase = 0; // 1 upper, -1 lower
  };
  std::vector<TSlot> slots_;
  char blank_ = '_';
  bool saveLiterals_ = true;
};

class TCustomMaskEdit : public TCustomEdit {
public:
  explicit TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}
  PLIMET_CLASS_NAME(TCustomMaskEdit)
  const std::string& EditMask() const { return editMask_; }
  void SetEditMask(const std::string& mask);
  // The text as shown, literals and blanks included.
  const std::string& EditText() const { return text_; }
  // The value typed, by the mask's rules (the whole text without a mask).
  std::string Value() const;
  bool IsMasked() const { return !mask_.Empty(); }
  bool IsComplete() const;
  // With a mask, the text is fitted into it as if it were typed.
  void SetText(const std::string& text) override;
  void WndProc(TMessage& message) override;

protected:
  void HandleCreated() override;

private:
  // Types one character at the caret; false when the mask refuses it.
  bool TypeChar(char c);
  void ClearRange(std::size_t from, std::size_t to);
  void Show(const std::string& text, std::size_t caret);
  std::pair<std::size_t, std::size_t> Selection();
  std::string editMask_;
  TEditMask mask_;
};

class TMaskEdit : public TCustomMaskEdit {
public:
  using TCustomMaskEdit::TCustomMaskEdit;
  PLIMET_CLASS_NAME(TMaskEdit)
};
