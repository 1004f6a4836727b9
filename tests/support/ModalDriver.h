#pragma once
// Drives windows as a person would. Before a test opens a window it
// arranges what happens once that window becomes active (text typed, keys
// pressed, a button clicked); the action then runs inside whatever message
// loop shows the window, so modal loops and message boxes are driven alike.
// Windows only.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class ModalDriver {
public:
  ModalDriver();
  ~ModalDriver();
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;

  // When the next window of this class becomes active, run the action on it.
  void When(const std::string& windowClass, std::function<void(HWND)> action);
  // Arranged actions that have not run yet.
  std::size_t Pending() const { return actions_.size(); }
  // The text of every message box that became active.
  const std::deque<std::string>& MessageBoxTexts() const { return boxTexts_; }
  const std::deque<std::string>& MessageBoxCaptions() const { return boxCaptions_; }

private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK Fire(HWND, UINT, UINT_PTR timer, DWORD);

  struct Arranged {
    std::string windowClass;
    std::function<void(HWND)> action;
  };
  HHOOK hook_;
  std::deque<Arranged> actions_;
  struct Due {
    UINT_PTR timer;
    HWND window;
    std::function<void(HWND)> action;
    int waited; // timer rounds spent waiting for the window to take the focus
  };
  std::deque<Due> due_;
  std::deque<std::string> boxTexts_;
  std::deque<std::string> boxCaptions_;
};

// Runs the steps one after another, each once the messages of the one
// before have been handled (a Tab must have moved the focus before the next
// text is typed).
void RunSteps(std::vector<std::function<void()>> steps);

// Input as a person gives it, through the message queue.
void TypeText(const std::string& text);  // characters to the focused window
void PressKey(WORD virtualKey);          // key down and up to the focused window
void ClickOn(HWND window);               // left button down and up in its middle
void CloseByCloseBox(HWND window);       // the system menu's close command

// The text a message form (MessageDlg) shows; "" for another window.
std::string MessageFormText(HWND window);
