#include "sample_portal.h"

#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace yz {
namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string ContentType(const fs::path& p) {
  std::string ext = p.extension().string();
  if (ext == ".jpg" || ext == ".jpeg") return "image/jpeg";
  if (ext == ".png") return "image/png";
  if (ext == ".gif") return "image/gif";
  if (ext == ".webp") return "image/webp";
  if (ext == ".js") return "application/javascript";
  if (ext == ".json") return "application/json";
  if (ext == ".txt") return "text/plain";
  if (ext == ".bin") return "application/octet-stream";
  return "text/html";
}

bool IsText(const fs::path& p) {
  std::string ext = p.extension().string();
  return ext.empty() || ext == ".html" || ext == ".htm" || ext == ".txt" || ext == ".js" ||
         ext == ".json";
}

// A path inside `root`, or empty when the request tries to leave it.
fs::path Resolve(const fs::path& root, const std::string& relative) {
  fs::path p = (root / fs::path(relative).relative_path()).lexically_normal();
  auto r = root.lexically_normal().string();
  if (p.string().compare(0, r.size(), r) != 0) return {};
  if (fs::is_directory(p)) p /= "index.html";
  return fs::is_regular_file(p) ? p : fs::path{};
}

std::string QueryFileName(const std::string& rawQuery) {
  std::string decoded = httplib::detail::decode_url(rawQuery, true);
  std::string name;
  for (char c : decoded) {
    if (c == '/') name += "%2F";
    else name += c;
  }
  return name;
}

void ReplaceAll(std::string& s, const std::string& from, const std::string& to) {
  for (std::size_t pos = 0; (pos = s.find(from, pos)) != std::string::npos; pos += to.size())
    s.replace(pos, from.size(), to);
}

}  // namespace

SamplePortal::SamplePortal(Options options)
    : options_(std::move(options)), server_(std::make_unique<httplib::Server>()) {
  // Headers and body go out as separate writes; with Nagle's algorithm the
  // body of a response on a kept-alive connection would wait for the
  // client's delayed acknowledgement (about 40 ms).
  server_->set_tcp_nodelay(true);
  int delay = options_.delayMs;
  if (delay > 0) {
    server_->set_pre_routing_handler([delay](const httplib::Request&, httplib::Response&) {
      std::this_thread::sleep_for(std::chrono::milliseconds(delay));
      return httplib::Server::HandlerResponse::Unhandled;
    });
  }
}

SamplePortal::~SamplePortal() { Stop(); }

int SamplePortal::Start(int port) {
  // The folder route goes last, so routes a test added before Start() win.
  fs::path root = fs::absolute(options_.pagesDir);
  server_->Get(R"(/.*)", [root](const httplib::Request& req, httplib::Response& res) {
    fs::path file;
    auto q = req.target.find('?');
    if (q != std::string::npos) {
      file = Resolve(root, req.path + "/" + QueryFileName(req.target.substr(q + 1)));
    }
    if (file.empty()) file = Resolve(root, req.path);
    if (file.empty()) {
      res.status = 404;
      res.set_content("<html><head><title>404 Not Found</title></head><body>not found</body></html>",
                      "text/html");
      return;
    }
    std::string body = ReadFile(file);
    if (IsText(file)) ReplaceAll(body, "{{BASE}}", "http://" + req.get_header_value("Host"));
    res.set_content(body, ContentType(file).c_str());
  });
  if (port == 0) {
    port_ = server_->bind_to_any_port("127.0.0.1");
  } else {
    port_ = server_->bind_to_port("127.0.0.1", port) ? port : -1;
  }
  if (port_ < 0) return -1;
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  for (int i = 0; i < 5000 && !server_->is_running(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return port_;
}

void SamplePortal::Stop() {
  if (thread_.joinable()) {
    server_->stop();
    thread_.join();
  }
}

std::string SamplePortal::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

}  // namespace yz
