// Which file of the page folder a request path names, and how it is sent.
// Plain C++ over std::filesystem so the rules are tested without sockets.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quarn::server {

// The file `urlPath` (already percent-decoded, starting with '/') names
// inside `root`: "/" is index.html. None for anything that could leave the
// folder or is not a plain file there: "..", ".", empty segments, a
// backslash or NUL, or a file whose real path (links followed) is outside.
std::optional<std::filesystem::path> PageFile(const std::filesystem::path& root,
                                              std::string_view urlPath);

// The Content-Type of a page file, by its extension.
std::string_view ContentType(const std::filesystem::path& file);

// The page folder quarnd serves without --web-root: beside the binary in the
// build tree (bin/web), else the installed share folder; empty when neither
// holds an index.html.
std::filesystem::path DefaultPageRoot(const std::filesystem::path& binaryDir);

}  // namespace quarn::server
