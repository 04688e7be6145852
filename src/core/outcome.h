#pragma once

#include <string>
#include <utility>

namespace velmar {

// What an operation that can fail hands back: the code its caller acts on (an enum whose zero
// value is success, as in RomReadResult or ResizeResult) and, for any other code, the reason in
// words, fit for a message box or stderr.
template <typename Code>
struct [[nodiscard]] Outcome {
    Code code{};
    std::string reason;

    bool ok() const { return code == Code{}; }

    static Outcome failure(Code code, std::string reason) { return {code, std::move(reason)}; }
};

}  // namespace velmar
