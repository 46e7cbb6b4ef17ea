#pragma once

#include <QDate>

// Reads a page's date field straight from its bytes: the form the program
// writes (2001年5月14日, space-padded) without decoding it first, any other
// text as the date box would read it.
class DateField
{
public:
    static QDate FromBytes(const char* bytes, int length);
};
