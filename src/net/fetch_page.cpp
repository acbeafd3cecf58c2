#include "net/fetch.h"
namespace yz {
Text FetchPage(const Text& address) { FetchPageOptions o; return FetchPage(address, o); }
Text FetchPage(const Text&, FetchPageOptions&) { return {}; }
}  // namespace yz
