// `quarnd reset-password`: the operator gives a name a new password, or frees
// the name, in the game file while no server holds it.
#pragma once

#include <cstdio>
#include <span>
#include <string_view>

namespace quarn::server {

// The arguments after "reset-password"; the new password is one line of `in`.
// Messages go to standard error; the exit status is returned.
int RunResetPassword(std::span<const std::string_view> args, std::FILE* in);

}  // namespace quarn::server
