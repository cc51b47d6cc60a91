// TN2KDeviceInfoForm: one device's product information, and the source address,
// device instance and system instance the user wants it to take.
#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>

namespace Ui {
class TN2KDeviceInfoForm;
}

namespace kvl {

class TN2KDeviceList;
struct TDeviceInfo;

class TN2KDeviceInfoForm : public QDialog {
    Q_OBJECT
public:
    static constexpr std::uint32_t kMaxAddress = 251;
    static constexpr std::uint32_t kMaxInstance = 255;
    static constexpr std::uint32_t kMaxSystemInstance = 15;

    TN2KDeviceInfoForm(const TN2KDeviceList& scanner, QWidget* parent = nullptr);
    ~TN2KDeviceInfoForm() override;

    // Shows the scanner's device at list position device; the modal result.
    int ShowModal(int device);

    // The entries taken when the dialog closed.
    std::uint8_t SA = 0;
    std::uint8_t DI = 0;
    std::uint8_t SI = 0;

    // Closing by OK or Cancel alike checks the entries; a failed check shows its
    // message and keeps the dialog open.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Fill(const TDeviceInfo& device);
    bool FormCloseQuery();

    const TN2KDeviceList& Scanner;
    std::unique_ptr<Ui::TN2KDeviceInfoForm> ui;
};

} // namespace kvl
