// What every handler and worker works with: the control layer, the effects,
// the worker threads and the addresses. Workers capture the shared pointers,
// so nothing they use can be destroyed under them.
#pragma once

#include <memory>

#include "controls/control_model.h"
#include "controls/effects.h"
#include "controls/workers.h"
#include "portal/loading_picture.h"
#include "text/text.h"

namespace yz {

// Every address is scheme + host (+ port) without a trailing slash, as
// program text.
struct Addresses {
  Text portalBase;
  Text searchHost;
  Text notice;      // the update notice page (whole address)
  Text invitation;  // the group-invitation page (whole address)
  Text lineDefault;
  Text line1;
  Text line2;
  Text line3;
  Text line3Nested;
};

struct Context {
  std::shared_ptr<ControlModel> ui;
  std::shared_ptr<Effects> effects;
  std::shared_ptr<Workers> workers;
  Addresses addresses;
  // 图片框_剧集, shared by the overlapping loads of 超级列表框3.
  std::shared_ptr<LoadingPicture> episodesLoading =
      std::make_shared<LoadingPicture>("图片框_剧集");
};

// Page requests as the readers make them: the address alone, abandoned when
// the program is shutting down.
Text FetchPageFor(const Context& ctx, const Text& address);
Bytes FetchPageInetFor(const Context& ctx, const Text& address);
// The same page request, also telling a failed request (no response at all)
// from a page that came back empty.
Text FetchPageFor(const Context& ctx, const Text& address, bool& requestFailed);

// True once the program is ending: workers skip what only the user would see.
bool ShuttingDown(const Context& ctx);

}  // namespace yz
