// Request header blocks of the two page requests, and what is read back from
// a response header block (status, cookies, redirect target).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "text/text.h"

namespace yz::net {

// FetchPage: the caller's lines, then each default line whose name the block
// lacks. Every line ends with CR LF.
Text PageHeaderBlock(const Text& extraHeaders, const std::optional<Text>& sendCookies);

// FetchPageInet: the caller's lines, then the missing default lines; CR LF
// between lines, none after the last.
Text InetHeaderBlock(const Text& extraHeaders, const Text& address,
                     const std::optional<Text>& sendCookies);

// The agent FetchPageInet names: the value of the caller's User-Agent line,
// or the default agent.
Text InetUserAgent(const Text& extraHeaders);

// The lines of a block as they go out, when every line is "Name: value".
// PageHeaderLines adds them one by one, a later line replacing an earlier one
// of the same name (letter case ignored) and a line without a value removing
// it. InetHeaderLines sends them all as they stand.
std::optional<std::vector<std::string>> PageHeaderLines(const Text& block);
std::optional<std::vector<std::string>> InetHeaderLines(const Text& block);

// ---- response ----------------------------------------------------------------

// "200 OK" for the status line "HTTP/1.1 200 OK".
Text StatusText(const Text& headerBlock);

// Writes every Set-Cookie header name, whatever its letter case, as "Set-Cookie".
Text NormaliseCookieNames(const Text& headerBlock);

// "a=1; b=2" for the lines "Set-Cookie: a=1; path=/" and "Set-Cookie: b=2".
Text CookiesOf(const Text& headerBlock);

// The value of the last "Location: " line, if any.
std::optional<Text> LocationOf(const Text& headerBlock);

// Adds cookies to what a caller already holds, keeping the "; " between them.
void AppendCookies(Text& held, const Text& cookies);

}  // namespace yz::net
