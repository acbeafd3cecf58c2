#include "net/curl_exchange.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <memory>
#include <mutex>
#include <string_view>

#include "net/fetch.h"
#include "net/session.h"

namespace yz::net {
namespace {

using Clock = std::chrono::steady_clock;

// How often the exchange looks at the cancel flag and the idle clock.
constexpr int kPollMs = 50;
constexpr long kMaxRedirects = 10;

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyDeleter {
  void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct MultiDeleter {
  void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};
struct ListDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;
using Multi = std::unique_ptr<CURLM, MultiDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

// Sets options and remembers whether any was refused.
class Setter {
 public:
  explicit Setter(CURL* h) : h_(h) {}
  void Long(CURLoption o, long v) { Check(curl_easy_setopt(h_, o, v)); }
  void Large(CURLoption o, curl_off_t v) { Check(curl_easy_setopt(h_, o, v)); }
  void Text(CURLoption o, const char* v) { Check(curl_easy_setopt(h_, o, v)); }
  template <typename T>
  void Pointer(CURLoption o, T v) {
    Check(curl_easy_setopt(h_, o, v));
  }
  // True when every option so far was taken; clears the record.
  bool StepOk() {
    bool ok = ok_;
    ok_ = true;
    return ok;
  }

 private:
  void Check(CURLcode c) {
    if (c != CURLE_OK) ok_ = false;
  }
  CURL* h_;
  bool ok_ = true;
};

// What the callbacks see of one exchange.
struct Transfer {
  ExchangeResult& result;
  CURL* easy = nullptr;
  Clock::time_point lastActivity = Clock::now();
  bool requestUnderWay = false;  // a connection stands and the request is going out
  bool inHeaders = false;        // a status line came, its block is not finished
  bool headersComplete = false;  // the latest response's block is finished
  bool headerOverflow = false;
  curl_off_t uploaded = 0;

  void Touch() { lastActivity = Clock::now(); }
};

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto& t = *static_cast<Transfer*>(user);
  size_t length = size * count;
  t.Touch();
  std::string_view line(data, length);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  std::string& block = t.result.headerBlock;
  if (StartsWith(line, "HTTP/")) {
    // A new response (after a 1xx or a redirect): only the last one counts.
    block.clear();
    t.inHeaders = true;
    t.headersComplete = false;
  } else if (!t.inHeaders) {
    return length;  // trailers after the body
  }
  if (line.empty()) {
    t.inHeaders = false;
    t.headersComplete = true;
  }
  for (char c : line) {
    if (c != '\0') block += c;  // program text holds no NUL
  }
  block += "\r\n";
  if (block.size() > kMaxHeaderBytes) {
    t.headerOverflow = true;
    return 0;
  }
  return length;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto& t = *static_cast<Transfer*>(user);
  size_t length = size * count;
  t.Touch();
  Bytes& body = t.result.body;
  if (body.empty()) {
    // One allocation for an announced length: growing a big body step by step costs more.
    curl_off_t announced = -1;
    if (curl_easy_getinfo(t.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) == CURLE_OK &&
        announced > 0)
      body.reserve(std::min<std::size_t>(static_cast<std::size_t>(announced), kMaxBodyBytes));
  }
  if (body.size() + length > kMaxBodyBytes) {
    body.append(data, kMaxBodyBytes - body.size());
    t.result.bodyCapped = true;
    return 0;  // ends the transfer; what was read is kept
  }
  body.append(data, length);
  return length;
}

int OnRequestReady(void* user, char*, char*, int, int) {
  auto& t = *static_cast<Transfer*>(user);
  t.requestUnderWay = true;
  t.Touch();
  return CURL_PREREQFUNC_OK;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
  auto& t = *static_cast<Transfer*>(user);
  if (uploaded != t.uploaded) {
    t.uploaded = uploaded;
    t.Touch();
  }
  return 0;
}

bool IsHttps(std::string_view url) {
  if (url.size() < 8) return false;
  std::string head(url.substr(0, 8));
  for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return head == "https://";
}

// True when the block is a redirect that curl goes on to follow, so that it
// is not the response the caller gets.
bool IsFollowedRedirect(const std::string& block, bool followRedirects) {
  if (!followRedirects) return false;
  auto space = block.find(' ');
  if (space == std::string::npos || space + 3 >= block.size()) return false;
  std::string code = block.substr(space + 1, 3);
  if (code[0] != '3' || code == "304") return false;
  for (std::size_t pos = block.find("\r\n"); pos != std::string::npos;
       pos = block.find("\r\n", pos + 2)) {
    if (block.size() - pos - 2 < 9) break;
    std::string name = block.substr(pos + 2, 9);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name == "location:") return true;
  }
  return false;
}

bool ApplySession(Setter& s, Transfer& t, const ExchangeRequest& r) {
  s.Long(CURLOPT_NOSIGNAL, 1L);
  // Giving up never waits for a name lookup that hangs: its thread is left to end alone.
  s.Long(CURLOPT_QUICK_EXIT, 1L);
  s.Text(CURLOPT_PROTOCOLS_STR, "http,https");
  // A secure request never falls back to plain http through a redirect.
  s.Text(CURLOPT_REDIR_PROTOCOLS_STR, IsHttps(r.url) ? "https" : "http,https");
  s.Long(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  s.Text(CURLOPT_PROXY, r.proxy.c_str());  // "" also ignores proxy variables
  s.Long(CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  s.Long(CURLOPT_HTTP_CONTENT_DECODING, 0L);  // the body is used as it came
  s.Pointer(CURLOPT_HEADERFUNCTION, &OnHeader);
  s.Pointer(CURLOPT_HEADERDATA, static_cast<void*>(&t));
  s.Pointer(CURLOPT_WRITEFUNCTION, &OnBody);
  s.Pointer(CURLOPT_WRITEDATA, static_cast<void*>(&t));
  s.Pointer(CURLOPT_PREREQFUNCTION, &OnRequestReady);
  s.Pointer(CURLOPT_PREREQDATA, static_cast<void*>(&t));
  s.Pointer(CURLOPT_XFERINFOFUNCTION, &OnProgress);
  s.Pointer(CURLOPT_XFERINFODATA, static_cast<void*>(&t));
  s.Long(CURLOPT_NOPROGRESS, 0L);
  return s.StepOk();
}

bool ApplyRequest(Setter& s, const ExchangeRequest& r) {
  s.Text(CURLOPT_URL, r.url.c_str());
  s.Long(CURLOPT_PATH_AS_IS, 1L);
  const Bytes* body = r.body ? &*r.body : nullptr;
  auto setBody = [&] {
    s.Large(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body ? body->size() : 0));
    s.Text(CURLOPT_COPYPOSTFIELDS, body ? body->data() : "");
  };
  switch (r.method) {
    case Method::Get:
      s.Long(CURLOPT_HTTPGET, 1L);
      if (body && !body->empty()) {
        setBody();
        s.Text(CURLOPT_CUSTOMREQUEST, "GET");
      }
      break;
    case Method::Post:
      s.Long(CURLOPT_POST, 1L);
      setBody();
      break;
    case Method::Head:
      s.Long(CURLOPT_NOBODY, 1L);
      break;
    case Method::Put:
      setBody();
      s.Text(CURLOPT_CUSTOMREQUEST, "PUT");
      break;
  }
  return s.StepOk();
}

bool ApplyCredentials(Setter& s, const ExchangeRequest& r) {
  if (r.serverLogin) {
    s.Text(CURLOPT_USERNAME, r.serverLogin->user.c_str());
    s.Text(CURLOPT_PASSWORD, r.serverLogin->password.c_str());
    s.Long(CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
  }
  if (r.proxyLogin) {
    s.Text(CURLOPT_PROXYUSERNAME, r.proxyLogin->user.c_str());
    s.Text(CURLOPT_PROXYPASSWORD, r.proxyLogin->password.c_str());
    s.Long(CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
  }
  return s.StepOk();
}

bool HasHeader(const std::vector<std::string>& lines, std::string_view name) {
  for (const auto& line : lines) {
    if (line.size() < name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) {
      same = std::tolower(static_cast<unsigned char>(line[i])) ==
             std::tolower(static_cast<unsigned char>(name[i]));
    }
    if (same) return true;
  }
  return false;
}

bool ApplyHeaders(Setter& s, const ExchangeRequest& r, HeaderList& list) {
  for (const auto& line : r.headerLines) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown) return false;
    list.release();
    list.reset(grown);
  }
  // curl would ask for "100-continue" before a large body; nobody asked for that.
  if (!HasHeader(r.headerLines, "Expect:")) {
    curl_slist* grown = curl_slist_append(list.get(), "Expect:");
    if (!grown) return false;
    list.release();
    list.reset(grown);
  }
  s.Pointer(CURLOPT_HTTPHEADER, list.get());
  if (r.userAgent) s.Text(CURLOPT_USERAGENT, r.userAgent->c_str());
  return s.StepOk();
}

// Drives the transfer, watching the cancel flag, the idle clock and the
// deadline. Returns curl's result, or CURLE_ABORTED_BY_CALLBACK when the
// exchange was given up.
CURLcode Drive(CURLM* multi, CURL* easy, Transfer& t, const ExchangeRequest& r) {
  const auto idleLimit = std::chrono::milliseconds(r.idleTimeoutMs);
  const auto deadline = Clock::now() + std::chrono::milliseconds(r.totalTimeoutMs);
  int running = 1;
  while (true) {
    if (curl_multi_perform(multi, &running) != CURLM_OK) return CURLE_FAILED_INIT;
    if (running == 0) break;
    if (r.cancel && r.cancel->load()) return CURLE_ABORTED_BY_CALLBACK;
    const auto now = Clock::now();
    if (t.requestUnderWay && r.idleTimeoutMs > 0 && now - t.lastActivity > idleLimit)
      return CURLE_ABORTED_BY_CALLBACK;
    if (r.totalTimeoutMs > 0 && now > deadline) return CURLE_ABORTED_BY_CALLBACK;
    if (curl_multi_poll(multi, nullptr, 0, kPollMs, nullptr) != CURLM_OK) return CURLE_FAILED_INIT;
  }
  int queued = 0;
  while (CURLMsg* msg = curl_multi_info_read(multi, &queued)) {
    if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) return msg->data.result;
  }
  return CURLE_FAILED_INIT;
}

}  // namespace

ExchangeResult RunExchange(const ExchangeRequest& r) {
  InitCurlOnce();
  ExchangeResult result;
  auto fail = [&](SetupStep step) {
    result.failedStep = step;
    return std::move(result);
  };

  HeaderList headers;  // outlives the handle that points at it
  Easy easy(curl_easy_init());
  if (!easy) return fail(SetupStep::Session);
  Transfer t{result, easy.get()};
  Setter s(easy.get());
  if (!ApplySession(s, t, r)) return fail(SetupStep::Session);
  // A session's multi handle keeps the connection for its next request; an
  // own one closes it when it goes.
  Multi own(r.session ? nullptr : curl_multi_init());
  CURLM* multi = r.session ? static_cast<CURLM*>(r.session->Handle()) : own.get();
  if (!multi) return fail(SetupStep::Connection);
  if (!ApplyRequest(s, r)) return fail(SetupStep::Request);
  s.Long(CURLOPT_CONNECTTIMEOUT_MS, r.connectTimeoutMs);
  if (!s.StepOk()) return fail(SetupStep::Timeouts);
  if (!ApplyCredentials(s, r)) return fail(SetupStep::Credentials);
  s.Long(CURLOPT_FOLLOWLOCATION, r.followRedirects ? 1L : 0L);
  s.Long(CURLOPT_MAXREDIRS, kMaxRedirects);
  if (!s.StepOk()) return fail(SetupStep::Redirects);
  if (!ApplyHeaders(s, r, headers)) return fail(SetupStep::Headers);
  if (curl_multi_add_handle(multi, easy.get()) != CURLM_OK) return fail(SetupStep::Connection);

  CURLcode code = Drive(multi, easy.get(), t, r);
  curl_multi_remove_handle(multi, easy.get());

  if (code == CURLE_OK && t.headersComplete) {
    result.reached = Reached::Complete;
  } else if (t.headersComplete && !t.headerOverflow &&
             !IsFollowedRedirect(result.headerBlock, r.followRedirects)) {
    result.reached = Reached::PartialBody;
  } else {
    result.reached = t.requestUnderWay ? Reached::NoResponse : Reached::NotConnected;
    result.headerBlock.clear();
    result.body.clear();
  }
  return result;
}

}  // namespace yz::net
