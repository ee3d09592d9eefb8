#pragma once

#include <exception>
#include <memory>
#include <string>

#include "ui/Services.h"

// The error a derived class's bind raises for an export the module lacks; its value is the
// export's name.
class MissingExport : public std::exception {
 public:
  explicit MissingExport(const char* name) : name_(name) {}
  const char* what() const noexcept override { return name_; }

 private:
  const char* name_;
};

// A library loaded at run time whose exports a derived class binds.
class CLoadLibrary {
 public:
  virtual ~CLoadLibrary() = default;

  // Loads the module by file name and calls the derived class's bind; 0 when the module cannot
  // be loaded or bind raised MissingExport (the module is then released again), else 1.
  int Load(const std::string& fileName, int flags);
  void Free() { module_.reset(); }
  bool IsLoaded() const { return module_ != nullptr; }
  // The name of the export whose absence made the last Load fail; empty otherwise.
  const std::string& MissingName() const { return missing_; }

 protected:
  virtual void Bind() = 0;
  // The export's address; raises MissingExport when there is none.
  void* Export(const char* name);

 private:
  std::unique_ptr<LoadedModule> module_;
  std::string missing_;
};
