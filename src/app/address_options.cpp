#include "app/address_options.h"

namespace yz {
namespace {

bool IsHttpAddress(const std::string& s) {
  return s.rfind("http://", 0) == 0 || s.rfind("https://", 0) == 0;
}

std::string WithoutTrailingSlash(std::string s) {
  while (s.size() > 8 && s.back() == '/') s.pop_back();
  return s;
}

}  // namespace

bool TakeAddressOptions(std::vector<std::string>& args, Addresses& addresses, std::string& error) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool lines = a == "--lines";
    Text* target = a == "--portal"        ? &addresses.portalBase
                   : a == "--search-host" ? &addresses.searchHost
                   : a == "--notice"      ? &addresses.notice
                   : lines                ? &addresses.lineDefault
                                          : nullptr;
    if (!target) {
      rest.push_back(a);
      continue;
    }
    if (i + 1 >= args.size()) {
      error = a + " needs an address";
      return false;
    }
    std::string value = args[++i];
    if (!IsHttpAddress(value)) {
      error = a + ": the address must start with http:// or https://";
      return false;
    }
    *target = Utf8ToText(a == "--notice" ? value : WithoutTrailingSlash(value));
    if (lines) addresses.line1 = addresses.line2 = addresses.line3 = *target;
  }
  args.swap(rest);
  return true;
}

}  // namespace yz
