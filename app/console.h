#pragma once
// Text for whoever started the program from a command prompt or a script: the standard
// output and error it was given (a file, a pipe), else the console of the process that
// started it. Unicode on a console; UTF-8 where the text goes to a file or a pipe, so that
// every name arrives exactly.
#include <string_view>

#include "win/handles.h"

namespace tarnivo {

class Console {
 public:
  Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // `text` and a line end; quietly nothing where there is nowhere to write (a program
  // started without a console and without redirection).
  void Line(std::wstring_view text) { Write(out_, text); }
  void ErrorLine(std::wstring_view text) { Write(err_, text); }

 private:
  struct Stream {
    HANDLE Handle = nullptr;  // not owned
    bool IsConsole = false;
  };
  static void Bind(Stream& stream, DWORD which, HANDLE parentConsole);
  static void Write(const Stream& stream, std::wstring_view text);

  UniqueFileHandle parentConsole_;  // "CONOUT$" of the parent's console, when attached
  Stream out_;
  Stream err_;
};

}  // namespace tarnivo
