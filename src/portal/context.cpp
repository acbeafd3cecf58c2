#include "portal/context.h"

#include "net/fetch.h"

namespace yz {

namespace {

// The request's own failure messages are "700 ..." to "712 ..."; 713 (a read
// broken part way) still delivers what arrived.
bool IsRequestFailure(const Text& statusText) {
  if (statusText.size() < 3) return false;
  int code = 0;
  for (int i = 0; i < 3; ++i) {
    char c = statusText[i];
    if (c < '0' || c > '9') return false;
    code = code * 10 + (c - '0');
  }
  return code >= 700 && code <= 712;
}

}  // namespace

Text FetchPageFor(const Context& ctx, const Text& address) {
  FetchPageOptions options;
  if (ctx.workers) options.cancel = &ctx.workers->StopFlag();
  return FetchPage(address, options);
}

Text FetchPageFor(const Context& ctx, const Text& address, bool& requestFailed) {
  FetchPageOptions options;
  if (ctx.workers) options.cancel = &ctx.workers->StopFlag();
  Text page = FetchPage(address, options);
  requestFailed = IsRequestFailure(options.statusText);
  return page;
}

Bytes FetchPageInetFor(const Context& ctx, const Text& address) {
  FetchPageInetOptions options;
  if (ctx.workers) options.cancel = &ctx.workers->StopFlag();
  return FetchPageInet(address, options);
}

bool ShuttingDown(const Context& ctx) { return ctx.workers && ctx.workers->StopFlag().load(); }

}  // namespace yz
