// The sample portal with its /_test/ routes (sample-portal/test_routes.h) on
// 127.0.0.1, serving the bundled sample pages. Stalled responses are released
// before the server stops, so tearing it down never waits on them.
#pragma once

#include <string>

#include "sample_portal.h"
#include "test_routes.h"

namespace yz::testing {

class TestPortal {
 public:
  TestPortal();
  ~TestPortal();
  TestPortal(const TestPortal&) = delete;
  TestPortal& operator=(const TestPortal&) = delete;

  bool Started() const { return portal_.Port() > 0; }
  int Port() const { return portal_.Port(); }
  std::string Base() const { return portal_.Base(); }  // "http://127.0.0.1:PORT"
  std::string Url(const std::string& path) const { return Base() + path; }

 private:
  SamplePortal portal_;
  TestRoutes routes_;
};

}  // namespace yz::testing
