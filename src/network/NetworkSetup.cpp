#include "network/NetworkSetup.h"

#include "host/Dialogs.h"
#include "host/Guarded.h"
#include "host/MuxHost.h"
#include "host/WaitCursor.h"
#include "network/records/NetCalc.h"

#include <QAction>
#include <QMenu>

namespace kvl {

namespace {

QAction* AddCommand(QMenu* menu, const char* name, const QString& text) {
    auto* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

TNetworkSetup::TNetworkSetup(TMuxHost& host, QWidget* window, std::unique_ptr<TNetworkProgress> progress)
    : QObject(window), Host(host), GivenProgress(std::move(progress)),
      StandIn(GivenProgress ? nullptr : std::make_unique<TWaitProgress>(window)),
      ProgressWindow(GivenProgress ? *GivenProgress : *StandIn),
      AssignDlg(std::make_unique<TAssignIPDlg>(ProgressWindow, window)),
      ListDlg(std::make_unique<TXPortListDlg>(*AssignDlg, ProgressWindow, window)),
      NetDlg(std::make_unique<TNetworkDlg>(ProgressWindow, window)),
      WiFiDlg(std::make_unique<TWiSettings>(window)) {}

TNetworkSetup::~TNetworkSetup() = default;

void TNetworkSetup::AttachMenus(QMenu* korvelan3E, QMenu* korvelan3Wi) {
    miNetworkSetup = AddCommand(korvelan3E, "miNetworkSetup", QStringLiteral("&Network Setup..."));
    QAction* miSearch3E = AddCommand(korvelan3E, "miSearch3E", QStringLiteral("&Search..."));
    QAction* miAssignIP = AddCommand(korvelan3E, "miAssignIP", QStringLiteral("&Assign IP..."));
    QAction* miWiFiSetup =
        AddCommand(korvelan3Wi, "miWiFiSetup", QStringLiteral("&Setup WiFi Parameters..."));
    QAction* miWiFiInit =
        AddCommand(korvelan3Wi, "miWiFiInit", QStringLiteral("&Initialize WiFi Interface..."));
    connect(korvelan3E, &QMenu::aboutToShow, this, GuardedSlot([this] { miKorvelan3EClick(); }));
    connect(miNetworkSetup, &QAction::triggered, this, GuardedSlot([this] { miNetworkSetupClick(); }));
    connect(miSearch3E, &QAction::triggered, this, GuardedSlot([this] { miSearch3EClick(); }));
    connect(miAssignIP, &QAction::triggered, this, GuardedSlot([this] { miAssignIPClick(); }));
    connect(miWiFiSetup, &QAction::triggered, this, GuardedSlot([this] { miWiFiSetupClick(); }));
    connect(miWiFiInit, &QAction::triggered, this, GuardedSlot([this] { miWiFiInitClick(); }));
}

void TNetworkSetup::miKorvelan3EClick() {
    if (miNetworkSetup)
        miNetworkSetup->setEnabled(!Host.MuxIP().empty());
}

void TNetworkSetup::miSearch3EClick() {
    if (ListDlg->Execute() == QDialog::Accepted)
        Host.SetMuxIP(ListDlg->GetIP().toStdString());
}

void TNetworkSetup::miAssignIPClick() {
    AssignDlg->SetMAC(QString());
    AssignDlg->Execute();
}

void TNetworkSetup::miNetworkSetupClick() {
    NetDlg->Host = QString::fromStdString(Host.MuxIP());
    // A module that could not be read or written leaves the link as it was.
    if (NetDlg->Execute() != QDialog::Accepted)
        return;
    // "No address" is the number 0, however it was written ("00.0.0.0" too).
    if (const auto ip = TNetCalc::ParseAddress(NetDlg->IPAddressText().toStdString()); ip && *ip != 0)
        Host.SetMuxIP(TNetCalc::FormatAddress(*ip));
    Host.UseNetworkLink(NetDlg->IsTcp(), std::to_string(NetDlg->Port));
}

void TNetworkSetup::HandleWI(const TSentence& sentence) {
    WiFiDlg->HandleWI(sentence);
}

void TNetworkSetup::miWiFiSetupClick() {
    Host.SendSentence("$PQZXWI,Q");
    if (WiFiDlg->Execute() != QDialog::Accepted)
        return;
    // A closed link carries nothing: the user must not think the settings written.
    const QString notSent = QStringLiteral("The link is closed: the WiFi settings were not sent.");
    if (!Host.IsLinkOpen()) {
        Dialogs().ShowMessage(notSent);
        return;
    }
    {
        TWaitCursor cursor;
        Host.SendSentence("$PQZXWI,W," + WiFiDlg->SSID().toLatin1().toStdString() + "," +
                          WiFiDlg->PassPhrase().toLatin1().toStdString() + "," +
                          std::to_string(WiFiDlg->Channel()));
        if (Host.IsLinkOpen()) {
            Host.WaitForReply(TPQZXCmd::PQZXWI, kWiFiReplyTimeoutMs);
            return;
        }
    }
    Dialogs().ShowMessage(notSent);
}

void TNetworkSetup::miWiFiInitClick() {
    const QString text =
        QStringLiteral("This will restore the factory settings of the WiFi interface to:\r\rSSID:\t\t"
                       "Korvelan-") +
        QString::fromLatin1(Host.MuxSerial()) +
        QStringLiteral("\rPassword:\tTarnwick\r\rDo you really want to proceed?");
    if (Dialogs().Confirm(text))
        Host.SendSentence("$PQZXWI,A");
}

} // namespace kvl
