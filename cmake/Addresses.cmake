# Compiled-in addresses. Both programs accept --portal, --search-host and
# --notice to point elsewhere; nothing else is read at run time.
set(YZ_PORTAL_BASE      "http://portal.yingzhou.example" CACHE STRING "Portal base address (scheme + host, no trailing slash)")
set(YZ_SEARCH_HOST      "http://search.yingzhou.example"  CACHE STRING "Search host (scheme + host)")
set(YZ_NOTICE_ADDRESS   "http://notice.yingzhou.example/update.html" CACHE STRING "Update notice page")
set(YZ_INVITE_ADDRESS   "http://invite.yingzhou.example/join.html"   CACHE STRING "Group invitation page")
set(YZ_LINE_DEFAULT     "http://line0.yingzhou.example" CACHE STRING "Play line 默认 (scheme + host)")
set(YZ_LINE_1           "http://line1.yingzhou.example" CACHE STRING "Play line 线路1")
set(YZ_LINE_2           "http://line2.yingzhou.example" CACHE STRING "Play line 线路2")
set(YZ_LINE_3           "http://line3.yingzhou.example" CACHE STRING "Play line 线路3")
set(YZ_LINE_3_NESTED    "https://parse.yingzhou.example" CACHE STRING "Nested parse service of line 3")
