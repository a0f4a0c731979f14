#include "server/web/page_files.h"

#include <algorithm>
#include <system_error>

namespace quarn::server {
namespace {

bool SafeSegment(std::string_view segment) {
  return !segment.empty() && segment != "." && segment != ".." &&
         segment.find_first_of(std::string_view("\\\0", 2)) == std::string_view::npos;
}

bool Inside(const std::filesystem::path& file, const std::filesystem::path& root) {
  const auto [rootEnd, fileAt] = std::mismatch(root.begin(), root.end(), file.begin(), file.end());
  return rootEnd == root.end() && fileAt != file.end();
}

}  // namespace

std::optional<std::filesystem::path> PageFile(const std::filesystem::path& root,
                                              std::string_view urlPath) {
  if (!urlPath.starts_with('/')) return std::nullopt;
  std::string_view rest = urlPath.substr(1);
  std::filesystem::path relative;
  if (rest.empty()) relative = "index.html";
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    const std::string_view segment = rest.substr(0, slash);
    if (!SafeSegment(segment)) return std::nullopt;
    relative /= std::filesystem::path(std::string(segment));
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (slash != std::string_view::npos && rest.empty()) return std::nullopt;  // a folder
  }
  std::error_code error;
  const std::filesystem::path realRoot = std::filesystem::canonical(root, error);
  if (error) return std::nullopt;
  const std::filesystem::path file = std::filesystem::canonical(realRoot / relative, error);
  if (error || !Inside(file, realRoot) || !std::filesystem::is_regular_file(file, error)) {
    return std::nullopt;
  }
  return file;
}

std::string_view ContentType(const std::filesystem::path& file) {
  const std::string extension = file.extension().string();
  if (extension == ".html") return "text/html; charset=utf-8";
  if (extension == ".js" || extension == ".mjs") return "text/javascript; charset=utf-8";
  if (extension == ".css") return "text/css; charset=utf-8";
  if (extension == ".wasm") return "application/wasm";
  if (extension == ".png") return "image/png";
  if (extension == ".svg") return "image/svg+xml";
  if (extension == ".json") return "application/json";
  return "application/octet-stream";
}

std::filesystem::path DefaultPageRoot(const std::filesystem::path& binaryDir) {
  for (const std::filesystem::path& candidate :
       {binaryDir / "web", binaryDir / ".." / "share" / "quarn" / "web"}) {
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate / "index.html", error)) {
      return candidate.lexically_normal();
    }
  }
  return {};
}

}  // namespace quarn::server
