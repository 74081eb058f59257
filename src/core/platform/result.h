#pragma once

#include <cassert>
#include <optional>
#include <utility>
#include <variant>

namespace twinsift {

// Why a platform call failed: by default the errno it saw.
template <typename E> struct Failed { E error; };

// The outcome of a platform call: its value, or why it failed. Nothing in
// the platform layer throws; a caller looks before it takes the value.
//     auto attributes = FileAttributes::read(path);
//     if (!attributes) report(attributes.error());
template <typename T, typename E = int> class [[nodiscard]] Result {
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Failed<E> failed) : m_state(std::in_place_index<1>, std::move(failed.error)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    const E &error() const {
        assert(!ok());
        return *std::get_if<1>(&m_state);
    }
    T &value() {
        assert(ok());
        return *std::get_if<0>(&m_state);
    }
    const T &value() const {
        assert(ok());
        return *std::get_if<0>(&m_state);
    }
    T &operator*() { return value(); }
    const T &operator*() const { return value(); }
    T *operator->() { return &value(); }
    const T *operator->() const { return &value(); }

private:
    std::variant<T, E> m_state;
};

template <typename E> class [[nodiscard]] Result<void, E> {
public:
    Result() = default;
    Result(Failed<E> failed) : m_error(std::move(failed.error)) {}

    bool ok() const { return !m_error; }
    explicit operator bool() const { return ok(); }

    const E &error() const {
        assert(!ok());
        return *m_error;
    }

private:
    std::optional<E> m_error;
};

} // namespace twinsift
