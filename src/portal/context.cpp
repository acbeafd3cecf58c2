#include "portal/context.h"

#include "net/fetch.h"

namespace yz {

Text FetchPageFor(const Context& ctx, const Text& address) {
  FetchPageOptions options;
  if (ctx.workers) options.cancel = &ctx.workers->StopFlag();
  return FetchPage(address, options);
}

Bytes FetchPageInetFor(const Context& ctx, const Text& address) {
  FetchPageInetOptions options;
  if (ctx.workers) options.cancel = &ctx.workers->StopFlag();
  return FetchPageInet(address, options);
}

}  // namespace yz
