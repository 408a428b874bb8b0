// Watches the pens and brushes that the code under test makes: the program's
// own import entries for them (and for BitBlt) are pointed at counting stand-ins while a spy
// lives, so every creation, selection and deletion is seen as it happens.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <set>

namespace drawtest {

class GdiSpy {
 public:
  GdiSpy();
  ~GdiSpy();
  GdiSpy(const GdiSpy&) = delete;

  // Whether every import entry was found and replaced.
  bool installed() const { return installed_; }

  int calls = 0;                 // of every watched function
  int created = 0;               // pens and brushes
  int deleted = 0;               // of those
  int deletedWhileSelected = 0;  // deleted while still selected into the DC they were selected into
  std::set<HGDIOBJ> live;        // created and not deleted

 private:
  bool installed_ = false;
};

}  // namespace drawtest
