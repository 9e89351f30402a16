#pragma once

#include <QByteArrayView>

#include <string_view>

namespace rtf {

struct Token
{
    enum Type {
        End,
        GroupOpen,
        GroupClose,
        ControlWord, // word, param, hasParam
        ControlSymbol, // symbol
        Text, // bytes: literal text, CR and LF already dropped
        HexByte, // byte: a \'xx escape
        Binary, // bytes: the payload of \binN
    };
    Type type = End;
    std::string_view bytes; // word name, text or binary payload, pointing into the input
    int param = 0;
    bool hasParam = false;
    char symbol = 0;
    unsigned char byte = 0;
    qsizetype offset = 0; // first input byte of the token
};

// Splits RTF into tokens. Bounded work per byte and no allocation: names and
// text point into the input, which must outlive the tokenizer.
class Tokenizer
{
public:
    explicit Tokenizer(QByteArrayView input);

    Token next();
    // Skips the rest of a group whose '{' has been read. Returns false when
    // the input ends first.
    bool skipGroup();

    qsizetype position() const { return m_pos; }
    void setPosition(qsizetype position) { m_pos = position; }
    QByteArrayView input() const { return m_input; }

    static constexpr int kMaxWordLength = 32;
    static constexpr int kMaxParamDigits = 10;

private:
    Token controlAfterBackslash(qsizetype start);
    Token controlWord(qsizetype start);
    Token binary(Token word);
    bool atEnd() const { return m_pos >= m_input.size(); }
    char peek() const { return m_input[m_pos]; }

    QByteArrayView m_input;
    qsizetype m_pos = 0;
};

} // namespace rtf
