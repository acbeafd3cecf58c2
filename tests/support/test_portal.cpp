#include "test_portal.h"

#include <httplib.h>

namespace yz::testing {

TestPortal::TestPortal() : portal_({SAMPLE_PAGES_DIR, 0}), routes_(portal_.Server()) {
  // Small responses go out at once instead of waiting on the client's delayed ACK.
  portal_.Server().set_tcp_nodelay(true);
  portal_.Start(0);
}

TestPortal::~TestPortal() {
  routes_.ReleaseStalls();
  portal_.Stop();
}

}  // namespace yz::testing
