// What a server sends back, fuzzed: the body as page text (meta charset), the
// response header block, and addresses a page hands to the next request.
#include <cstdint>

#include "fuzz_input.h"
#include "net/header_block.h"
#include "net/page_text.h"
#include "net/request_address.h"

using namespace yz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> parts = fuzz::SplitInput(data, size, 3);
  const Bytes& body = parts[0];  // bodies may hold NULs
  const Text headers = fuzz::WithoutNul(parts[1]);
  const Text address = fuzz::WithoutNul(parts[2]);

  net::PageText(body);

  net::StatusText(headers);
  net::NormaliseCookieNames(headers);
  Text held = "a=1";
  net::AppendCookies(held, net::CookiesOf(headers));
  net::LocationOf(headers);
  net::PageHeaderLines(headers);
  net::InetHeaderLines(headers);
  net::PageHeaderBlock(headers, address);
  net::InetHeaderBlock(headers, address, std::nullopt);
  net::InetUserAgent(headers);

  net::EncodeForRequest(address);
  net::EncodeHost(address);
  net::PageRequestUrl(address);
  net::SplitInetAddress(address);
  return 0;
}
