#pragma once

#include <functional>
#include <string>

// What the simulated Windows finds wrong in a test or in the program under test, where real
// Windows would not let it pass: a call on a control the dialog's template lacks, a message box
// nobody answers, an answer or a user's action prepared for something that never came. The
// tests hand each fault to their framework through a sink; without one, a fault ends the
// process, so that none goes unnoticed.
using SimFaultSink = std::function<void(const std::string& fault)>;
void SetSimFaultSink(SimFaultSink sink);
void ReportSimFault(const std::string& fault);
