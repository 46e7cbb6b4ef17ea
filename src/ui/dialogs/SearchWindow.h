#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class DiaryStore;
class Prompter;
class SettingsStore;
class SearchHitList;

// The search window: finds a text in the bodies of the pages, from the first
// page or from the page after the shown one, and shows the first page that
// holds it with the text selected. It stays above the other windows. Its
// あいまい検索 box, kept in the settings, makes the search ignore width, kana
// and case. Its 一覧表示 box, off at first, lists every page that holds the
// text instead, newest first (SearchHitList). objectName: frmSeratch.
class SearchWindow : public QDialog
{
    Q_OBJECT
public:
    SearchWindow(DiaryStore& store, SettingsStore& settings, Prompter& prompter, QWidget* parent = nullptr);

    // Searches for the text in the box, which joins the list of earlier texts.
    void Search();

private:
    void StoreFuzzy(bool on);
    void ShowHitList(bool on);

    DiaryStore& store_;
    SettingsStore& settings_;
    Prompter& prompter_;
    QComboBox* searchText_;
    QRadioButton* fromFirst_;
    QRadioButton* fromCurrent_;
    QCheckBox* fuzzy_;
    QCheckBox* listAll_;
    QGroupBox* way_;
    SearchHitList* hitList_;
};
