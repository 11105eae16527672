#pragma once

#include <QString>
#include <optional>
#include <utility>
#include <variant>

namespace halcyra {

// The error half of a Result: a text for the person in front of the program.
struct Failure
{
    QString message;
};

inline Failure fail(QString message)
{
    return Failure{std::move(message)};
}

// What a fallible function of ours returns: its value, or the text that says why there is none.
template <typename T> class [[nodiscard]] Result
{
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : m_state(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<0>(m_state); }
    T& value() & { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }

    // Empty when the call succeeded.
    QString error() const { return ok() ? QString() : std::get<1>(m_state).message; }

private:
    std::variant<T, Failure> m_state;
};

// A fallible step that gives nothing back but success.
template <> class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Failure failure) : m_error(std::move(failure.message)) {}

    bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    QString error() const { return m_error.value_or(QString()); }

private:
    std::optional<QString> m_error;
};

using Status = Result<void>;

} // namespace halcyra
