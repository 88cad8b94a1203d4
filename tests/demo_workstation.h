// The demo workstation of scripts/make-demo-prefix in a temporary folder
// (see TestWorkstation::Options::demo).
#pragma once

#include "tests/test_workstation.h"

namespace zepo {

class DemoWorkstation : public TestWorkstation {
 public:
  DemoWorkstation() : TestWorkstation(demo()) {}

 private:
  static Options demo() {
    Options options;
    options.demo = true;
    return options;
  }
};

}  // namespace zepo
