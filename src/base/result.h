#pragma once
// A value or an error code. Errors inside the engine travel as values, never as exceptions.

#include <cassert>
#include <utility>
#include <variant>

namespace updater::base {

template <class T, class E>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit by design
    Result(E error) : state_(std::in_place_index<1>, error) {}             // NOLINT: implicit by design

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & {
        assert(ok());
        return std::get<0>(state_);
    }
    const T& value() const& {
        assert(ok());
        return std::get<0>(state_);
    }
    T&& value() && {
        assert(ok());
        return std::get<0>(std::move(state_));
    }
    E error() const {
        assert(!ok());
        return std::get<1>(state_);
    }

  private:
    std::variant<T, E> state_;
};

}  // namespace updater::base
