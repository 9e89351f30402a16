#include "ui/rtf/RtfTokenizer.h"

#include <algorithm>
#include <climits>

namespace rtf {
namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

Tokenizer::Tokenizer(QByteArrayView input)
    : m_input(input)
{
}

Token Tokenizer::next()
{
    while (!atEnd()) {
        const qsizetype start = m_pos;
        const char c = m_input[m_pos++];
        switch (c) {
        case '{': {
            Token token;
            token.type = Token::GroupOpen;
            token.offset = start;
            return token;
        }
        case '}': {
            Token token;
            token.type = Token::GroupClose;
            token.offset = start;
            return token;
        }
        case '\\':
            if (atEnd())
                return {};
            return controlAfterBackslash(start);
        case '\r':
        case '\n':
            continue;
        default:
            break;
        }
        while (!atEnd()) {
            const char d = peek();
            if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n')
                break;
            ++m_pos;
        }
        Token token;
        token.type = Token::Text;
        token.offset = start;
        token.bytes = std::string_view(m_input.data() + start, size_t(m_pos - start));
        return token;
    }
    return {};
}

Token Tokenizer::controlAfterBackslash(qsizetype start)
{
    const char c = peek();
    if (isLetter(c))
        return controlWord(start);
    ++m_pos;
    Token token;
    token.offset = start;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        token.type = Token::Text;
        token.bytes = std::string_view(m_input.data() + start + 1, 1);
        return token;
    case '\r':
    case '\n':
        // A backslash before a line end is an old way of writing \par.
        token.type = Token::ControlWord;
        token.bytes = "par";
        return token;
    case '\'': {
        const int high = atEnd() ? -1 : hexValue(peek());
        const int low = m_pos + 1 < m_input.size() ? hexValue(m_input[m_pos + 1]) : -1;
        if (high < 0 || low < 0) {
            // A broken escape is dropped, the text after it kept.
            token.type = Token::ControlSymbol;
            token.symbol = '\'';
            return token;
        }
        m_pos += 2;
        token.type = Token::HexByte;
        token.byte = static_cast<unsigned char>(high * 16 + low);
        return token;
    }
    default:
        token.type = Token::ControlSymbol;
        token.symbol = c;
        return token;
    }
}

Token Tokenizer::controlWord(qsizetype start)
{
    const qsizetype nameStart = m_pos;
    while (!atEnd() && isLetter(peek()))
        ++m_pos;
    Token token;
    token.type = Token::ControlWord;
    token.offset = start;
    token.bytes = std::string_view(m_input.data() + nameStart,
                                   size_t(std::min<qsizetype>(m_pos - nameStart, kMaxWordLength)));
    const bool negative
        = !atEnd() && peek() == '-' && m_pos + 1 < m_input.size() && isDigit(m_input[m_pos + 1]);
    if (negative)
        ++m_pos;
    if (!atEnd() && isDigit(peek())) {
        long long value = 0;
        int digits = 0;
        while (!atEnd() && isDigit(peek())) {
            if (digits++ < kMaxParamDigits)
                value = value * 10 + (peek() - '0');
            ++m_pos;
        }
        if (negative)
            value = -value;
        token.hasParam = true;
        token.param = int(std::clamp<long long>(value, INT_MIN, INT_MAX));
    }
    if (!atEnd() && peek() == ' ')
        ++m_pos;
    if (token.bytes == "bin" && token.hasParam)
        return binary(token);
    return token;
}

Token Tokenizer::binary(Token word)
{
    // The payload is raw bytes, braces and backslashes included; a length
    // past the end takes what is there, a negative one takes nothing.
    const qsizetype length = std::clamp<qsizetype>(word.param, 0, m_input.size() - m_pos);
    Token token;
    token.type = Token::Binary;
    token.offset = word.offset;
    token.bytes = std::string_view(m_input.data() + m_pos, size_t(length));
    m_pos += length;
    return token;
}

bool Tokenizer::skipGroup()
{
    long long depth = 1;
    for (;;) {
        const Token token = next();
        if (token.type == Token::End)
            return false;
        if (token.type == Token::GroupOpen)
            ++depth;
        else if (token.type == Token::GroupClose && --depth == 0)
            return true;
    }
}

} // namespace rtf
