#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace corvane {

// A failure that ends the current command. `Notice` failures are shown to the
// operator as an information message, every other kind in the error box.
struct Error
{
    enum class Kind { Failure, Notice, Timeout };

    QString message;
    Kind kind = Kind::Failure;
    int code = 0; // server error number or system error number, 0 when unknown

    static Error failure(QString text, int code = 0) { return {std::move(text), Kind::Failure, code}; }
    static Error notice(QString text) { return {std::move(text), Kind::Notice, 0}; }
    bool isNotice() const { return kind == Kind::Notice; }
    bool isTimeout() const { return kind == Kind::Timeout; }
};

template <typename T>
class [[nodiscard]] Result
{
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Error error) : m_value(std::move(error)) {}

    bool ok() const { return m_value.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() & { return std::get<0>(m_value); }
    const T& value() const& { return std::get<0>(m_value); }
    T&& value() && { return std::get<0>(std::move(m_value)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const Error& error() const { return std::get<1>(m_value); }

private:
    std::variant<T, Error> m_value;
};

template <>
class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Error error) : m_error(std::move(error)) {}

    bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return *m_error; }

private:
    std::optional<Error> m_error;
};

using Status = Result<void>;

} // namespace corvane
