// One HTTP/1.1 exchange over libcurl, shared by both page requests: exactly
// the given header lines go out, the body comes back undecoded and capped,
// and a stalled or trickling server or a raised cancel flag ends the exchange
// promptly.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "text/text.h"

namespace yz::net {

class Session;

enum class Method { Get, Post, Head, Put };

struct Credentials {
  std::string user;
  std::string password;
};

struct ExchangeRequest {
  std::string url;  // absolute http(s) address, already percent-encoded
  Method method = Method::Get;
  std::optional<Bytes> body;              // sent when present (not for HEAD)
  std::vector<std::string> headerLines;   // "Name: value", sent in order
  std::optional<std::string> userAgent;   // used when no header line names one
  std::string proxy;                      // empty: direct, whatever the environment says
  std::optional<Credentials> serverLogin; // basic authentication
  std::optional<Credentials> proxyLogin;
  bool followRedirects = true;
  long connectTimeoutMs = 30000;  // name resolution and connection
  long idleTimeoutMs = 30000;     // longest silence once the request is under way
  // Longest the whole exchange may take, so that a server that trickles its
  // answer cannot hold the caller forever; 0: no limit.
  long totalTimeoutMs = 0;
  const std::atomic<bool>* cancel = nullptr;
  // Runs the exchange in this session, which keeps its connection open for
  // the session's next request; null: the connection closes with the exchange.
  Session* session = nullptr;
};

// How far the exchange got. Each stage implies the ones before it.
enum class Reached {
  Nothing,         // the request could not be set up
  NotConnected,    // name resolution, connection or sending failed
  NoResponse,      // connected, but no complete response header block came
  PartialBody,     // headers came; the body ended early (failure, stall, deadline, cap or cancel)
  Complete,
};

// Which set-up step failed when nothing was reached.
enum class SetupStep { None, Session, Connection, Request, Timeouts, Credentials, Redirects, Headers };

struct ExchangeResult {
  Reached reached = Reached::Nothing;
  SetupStep failedStep = SetupStep::None;
  bool bodyCapped = false;    // the body reached kMaxBodyBytes and was cut there
  std::string headerBlock;    // the final response's status line and headers, CRLF ended, with the empty line
  Bytes body;
};

ExchangeResult RunExchange(const ExchangeRequest& request);

// Header text longer than this ends the exchange: no response is that big.
inline constexpr std::size_t kMaxHeaderBytes = 1u << 20;

}  // namespace yz::net
