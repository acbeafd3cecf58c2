<!DOCTYPE html>
<html>
<head><meta charset="utf-8"><title>示例播放页</title>
<style>body{margin:0;background:#111;color:#ddd;font:16px sans-serif;display:flex;align-items:center;justify-content:center;height:100vh}
#screen{width:80%;max-width:720px;aspect-ratio:16/9;background:linear-gradient(135deg,#2c3e50,#000);display:flex;align-items:center;justify-content:center;flex-direction:column;border-radius:6px}
#addr{font-size:12px;color:#999;word-break:break-all;padding:0 16px}</style>
</head>
<body>
<div id="screen"><div>示例播放页</div><div id="addr"></div></div>
<script>
var q = location.search.indexOf("url=");
document.getElementById("addr").textContent = q < 0 ? "" : location.search.substring(q + 4);
</script>
</body>
</html>
