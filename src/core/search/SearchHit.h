#pragma once

#include <QString>

// A page whose body holds the text searched for, as the list of hits shows it.
struct SearchHit
{
    qint32 page = 0; // from 1
    QString date;    // the date field as the page shows it
    QString line;    // the line of the body around the first hit, cut short when long
};
