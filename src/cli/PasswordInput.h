#pragma once

#include <QString>

// A password held by the tool; its characters are overwritten when it goes,
// unless another QString still shares them.
class Secret
{
public:
    Secret() = default;
    explicit Secret(QString text) : m_text(std::move(text)) {}
    ~Secret() { wipe(); }
    Secret(const Secret &) = delete;
    Secret &operator=(const Secret &) = delete;
    Secret(Secret &&other) noexcept : m_text(std::move(other.m_text)) {}
    Secret &operator=(Secret &&other) noexcept;

    const QString &text() const { return m_text; }
    bool isEmpty() const { return m_text.isEmpty(); }

private:
    void wipe();
    QString m_text;
};

// Where passwords come from: one line each from standard input
// (--password-stdin), or asked on the terminal without echo.
// Errors are thrown as Failure.
class PasswordSource
{
public:
    explicit PasswordSource(bool fromStdin) : m_fromStdin(fromStdin) {}

    // An existing password: the next line, or one question.
    Secret ask(const QString &prompt) const;
    // A password being chosen: the next line, or asked twice on the terminal
    // so that a typing mistake does not lock the user out.
    Secret askNew(const QString &prompt, const QString &repeatPrompt) const;

private:
    bool m_fromStdin;
};
