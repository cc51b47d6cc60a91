// TAboutBox: the program's version, the version of the firmware carried inside
// it and that of the connected multiplexer, with the maker's web page and support
// address. A double-click on the program icon asks to forget the stored settings.
#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

class QUrl;

namespace Ui {
class TAboutBox;
}

namespace kvl {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // The result of the forget-settings gesture, a value no button gives.
    static constexpr int kForgetSettings = -1;
    // Opens a web page or a new mail message with the desktop's own handler.
    using TUrlOpener = std::function<void(const QUrl&)>;

    explicit TAboutBox(QWidget* parent = nullptr);
    ~TAboutBox() override;

    // The multiplexer's firmware version as its version answer gave it; empty
    // when no multiplexer is connected.
    void SetMuxVersion(const std::string& version);
    // The version of the firmware image carried inside the program.
    void SetEnclosedFirmwareVersion(const std::string& version);
    // Replaces the desktop's handler (tests); returns the previous one.
    TUrlOpener SetUrlOpener(TUrlOpener opener);

    static QUrl WebUrl();
    static QUrl EmailUrl();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void lblWebClick();
    void lblEmailClick();
    void ProgramIconDblClick();

    std::unique_ptr<Ui::TAboutBox> ui;
    TUrlOpener OpenUrl;
};

} // namespace kvl
