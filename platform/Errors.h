#pragma once

#include <QString>

#include <exception>

// The program's exceptions. Each carries the fixed message the user sees;
// event handlers show it in a message box and the program goes on.
class Error : public std::exception
{
public:
    explicit Error(QString message)
        : m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
    {
    }
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A file could not be opened, read or written ("File not found",
// "Read beyond end of file", or the system's own reason).
class EInOutError : public Error
{
public:
    using Error::Error;
};

// A value could not be converted ("Invalid argument to date encode").
class EConvertError : public Error
{
public:
    using Error::Error;
};
