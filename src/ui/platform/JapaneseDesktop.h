#pragma once

class QApplication;

// What a Japanese desktop gives the program: standard buttons that read
// はい / いいえ / キャンセル, and the design fonts mapped onto the CJK fonts
// Linux has, the program's icon on every window, and password boxes a
// screen reader does not spell out.
class JapaneseDesktop
{
public:
    static void Install(QApplication& application);
};
