#pragma once

class QApplication;

// What a Japanese desktop gives the program: standard buttons that read
// はい / いいえ / キャンセル, and the design fonts mapped onto the CJK fonts
// Linux has, and the program's icon on every window.
class JapaneseDesktop
{
public:
    static void Install(QApplication& application);
};
