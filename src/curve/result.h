// What a parser, a reader or a writer hands back: its value, or the failures that kept it from
// being made, each already worded as the user reads it. The front ends show a failure's message
// as it is (the command line adds only its "hcurve: "), so that one fault reads alike in the
// window, on the console and from `hcurve route`.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace hcurve {

/// A failure, or a warning beside a value: the whole message, and where it comes from a file's
/// contents, the line (1-based; 0 when it has none) and which of several files read together (0
/// for the first).
struct Failure {
    std::string message;
    int line = 0;
    std::size_t file = 0;
    // A warning that may come once an element: how the one line that tells all of its kind names
    // them ("线元的 dir 与座标给出的方向不符"), what this case adds ("相差 36.000 秒") and what is
    // done about them ("按座标计算"). Without a kind a warning is told on its own.
    std::string kind = {}, detail = {}, done = {};
    // With a kind: the cases it stands for (it is the first of them in the file).
    std::size_t count = 1;
};

/// A value, or at least one failure. A reader that reads on past a fault hands back every fault
/// it found, in the order of the file; everything else stops at the first. Beside either a reader
/// may hand back warnings: what it tolerated or passed over, each worded as a failure is.
template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Failure failure) : state_(std::vector<Failure>{std::move(failure)}) {}
    /// failures must not be empty.
    static Result failed(std::vector<Failure> failures) {
        Result r(Failure{});
        std::get<1>(r.state_) = std::move(failures);
        return r;
    }

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& operator*() & { return std::get<0>(state_); }
    const T& operator*() const& { return std::get<0>(state_); }
    T&& operator*() && { return std::get<0>(std::move(state_)); }
    T* operator->() { return &std::get<0>(state_); }
    const T* operator->() const { return &std::get<0>(state_); }

    /// The first failure; only when !ok().
    const Failure& failure() const { return std::get<1>(state_).front(); }
    /// Every failure; only when !ok().
    const std::vector<Failure>& failures() const { return std::get<1>(state_); }

    const std::vector<Failure>& warnings() const { return warnings_; }
    std::vector<Failure>& warnings() { return warnings_; }

  private:
    std::variant<T, std::vector<Failure>> state_;
    std::vector<Failure> warnings_;
};

/// Done, or the failures that stopped it: a writer's or a check's answer.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure) : failures_{std::move(failure)} {}
    /// failures must not be empty.
    static Result failed(std::vector<Failure> failures) {
        Result r;
        r.failures_ = std::move(failures);
        return r;
    }

    bool ok() const { return failures_.empty(); }
    explicit operator bool() const { return ok(); }

    const Failure& failure() const { return failures_.front(); }
    const std::vector<Failure>& failures() const { return failures_; }

    const std::vector<Failure>& warnings() const { return warnings_; }
    std::vector<Failure>& warnings() { return warnings_; }

  private:
    std::vector<Failure> failures_;
    std::vector<Failure> warnings_;
};

/// Done: what a writer or a check hands back when nothing went wrong.
inline Result<void> done() {
    return {};
}

/// What became of a step, without its value: done, or its failures; its warnings beside either.
/// For a caller that hands on only whether a step it depends on went through.
template <class T>
Result<void> outcomeOf(const Result<T>& result) {
    Result<void> outcome = result ? done() : Result<void>::failed(result.failures());
    outcome.warnings() = result.warnings();
    return outcome;
}

}  // namespace hcurve
