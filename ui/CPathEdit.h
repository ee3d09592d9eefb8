#pragma once

#include <string>

#include "ui/DialogHost.h"

// An edit box that shows a path shortened in its middle and hands back the whole path; once the
// user has changed the text, it hands back what the user typed.
class CPathEdit {
 public:
  static constexpr std::size_t kShownLength = 60;

  void Attach(DialogHost& host, int id) {
    host_ = &host;
    id_ = id;
  }
  void SetWindowTextA(const std::string& path);
  std::string GetWindowTextA() const;

 private:
  DialogHost* host_ = nullptr;
  int id_ = 0;
  std::string path_;
};
