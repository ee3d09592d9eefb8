#include <gtest/gtest.h>

#include "sim/SimFaults.h"

// Every fault the simulated Windows finds fails the test that is running: the sink is set before
// any test starts, so that no test can run without it.
namespace {

const bool kSinkSet = [] {
  SetSimFaultSink([](const std::string& fault) { ADD_FAILURE() << fault; });
  return true;
}();

}  // namespace
