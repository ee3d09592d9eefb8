#pragma once

#include <string>

// Links of the form "vxcp:///handler/command?arguments", as the markup texts carry them.
class CVXCPParser {
 public:
  explicit CVXCPParser(const std::string& link);
  bool IsValid() const { return valid_; }
  const std::string& GetHandler() const { return handler_; }
  const std::string& GetCommand() const { return command_; }
  const std::string& GetArguments() const { return arguments_; }

 private:
  bool valid_ = false;
  std::string handler_;
  std::string command_;
  std::string arguments_;
};

// Something that carries out the commands of links addressed to its name.
class CVXCPCommandHandler {
 public:
  virtual ~CVXCPCommandHandler() = default;
  void SetHandlerName(const std::string& name) { name_ = name; }
  const std::string& HandlerName() const { return name_; }
  // Hands the link's command to OnVXCPCommand when the link names this handler (letter case
  // aside); reports whether it did.
  bool PostExecute(const CVXCPParser& parser);

 protected:
  virtual void OnVXCPCommand(const std::string& command, const std::string& arguments) = 0;

 private:
  std::string name_;
};
