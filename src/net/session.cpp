#include "net/session.h"

#include <curl/curl.h>

namespace yz::net {

std::unique_ptr<Session> Session::Create() {
  CURLM* multi = curl_multi_init();
  if (!multi) return nullptr;
  return std::unique_ptr<Session>(new Session(multi));
}

Session::~Session() { curl_multi_cleanup(static_cast<CURLM*>(multi_)); }

}  // namespace yz::net
