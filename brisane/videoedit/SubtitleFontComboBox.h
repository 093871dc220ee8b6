#pragma once
// The subtitle font menu: every font family of the system, each shown in its
// own face at 11 points once the menu first opens (styling hundreds of names
// up front would slow the sheet's opening for nothing).

#include <QComboBox>

class SubtitleFontComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kSampleFontSize = 11;

    explicit SubtitleFontComboBox(QWidget* parent = nullptr);

    // Gives every entry not yet styled its own face.
    void menuWillOpen();
    void showPopup() override;
};
