#include "ui/CLoadLibrary.h"

#include "ui/CUtilityLib.h"

int CLoadLibrary::Load(const std::string& fileName, int /*flags*/) {
  missing_.clear();
  module_ = CUtilityLib::Get().LoadModule(fileName);
  if (module_ == nullptr) return 0;
  try {
    Bind();
  } catch (const MissingExport& error) {
    missing_ = error.what();
    module_.reset();
    return 0;
  }
  return 1;
}

void* CLoadLibrary::Export(const char* name) {
  void* address = module_ != nullptr ? module_->Export(name) : nullptr;
  if (address == nullptr) throw MissingExport(name);
  return address;
}
