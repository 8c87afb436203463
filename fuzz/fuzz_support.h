#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plumwit::fuzz {

// Stops the run with a report when a property the code promises is broken.
void Require(bool holds, const char* what);

// A folder of this process's own for harnesses that need real files,
// removed when the process ends.
const std::string& ScratchFolder();

std::string_view AsText(const std::uint8_t* data, std::size_t size);

bool IsValidUtf8(std::string_view text);

}  // namespace plumwit::fuzz
