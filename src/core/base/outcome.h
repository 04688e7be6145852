#pragma once

#include <string>
#include <utility>

namespace velmar {

// Whether a code means success: its zero value, unless its enum says otherwise with an
// isSuccess overload of its own beside it (EditResult, where "no change" succeeds too).
template <typename Code> constexpr bool isSuccess(Code code) { return code == Code{}; }

// What an operation that can fail hands back: the code its caller acts on (an enum whose zero
// value is success, as in RomReadResult or ResizeResult) and, for any other code, the reason in
// words, fit for a message box or stderr.
template <typename Code> struct [[nodiscard]] Outcome {
    Code code{};
    std::string reason;

    bool ok() const { return isSuccess(code); }

    static Outcome failure(Code code, std::string reason) { return {code, std::move(reason)}; }
};

}  // namespace velmar
