// A response body as program text, honouring a charset that the page
// declares in a meta tag near its start.
#pragma once

#include "text/text.h"

namespace yz::net {

// The body up to its first NUL. When a meta tag within the first 1024 bytes
// names a charset other than exactly "gbk" or "gb2312", the whole body is
// converted from that charset; a charset the converter does not know leaves
// the text as it is.
Text PageText(const Bytes& body);

}  // namespace yz::net
