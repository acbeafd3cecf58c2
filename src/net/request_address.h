// From a page address as the program holds it (program text) to the address
// the HTTP client requests.
#pragma once

#include <optional>
#include <string>

#include "text/text.h"

namespace yz::net {

// The address as it may travel in a request line: non-ASCII text as UTF-8,
// and blanks, control characters and non-ASCII bytes percent-encoded.
// Everything else, '%' included, stays as written.
std::string EncodeForRequest(const Text& address);
// A host name only changes to UTF-8: percent signs have no place in it.
std::string EncodeHost(const Text& host);

// FetchPage's reading: the scheme must be http or https; an address without
// a path requests "/" and drops what follows the host (query, fragment).
// nullopt when the address cannot be split.
std::optional<std::string> PageRequestUrl(const Text& address);

// FetchPageInet's reading of an address.
struct InetAddress {
  std::string host;    // lower case
  int port = 80;
  std::string object;  // path and query in the caller's letter case, "/" at least
  bool https = false;
  std::string url;     // what is requested; empty when no host could be found
};

// http is assumed without a scheme; the host is taken in lower case; a port
// after the host is used, otherwise 443 for https and 80 for the rest. An
// address naming another scheme (file:, javascript:, data:, ...) gets no url.
InetAddress SplitInetAddress(const Text& address);

}  // namespace yz::net
