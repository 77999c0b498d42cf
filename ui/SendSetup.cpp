#include "ui/SendSetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "keying/SerialDevices.h"
#include "sending/AlsaMidiKeys.h"

namespace lumbrel {

SendingSetupPage::SendingSetupPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SendingSheet"));
    auto* form = new QFormLayout(this);
    form->setContentsMargins(12, 12, 12, 12);

    mode_ = new QComboBox(this);
    mode_->setObjectName(QStringLiteral("KeyerModeComboBox"));
    mode_->addItems({tr("Straight key"), tr("Iambic A"), tr("Iambic B"), tr("Bug")});
    form->addRow(tr("&Keyer:"), mode_);
    auto spin = [this](const char* name, int low, int high, const QString& suffix) {
        auto* box = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(low, high);
        box->setSuffix(suffix);
        return box;
    };
    speed_ = spin("KeyerSpeedSpinEdit", KeyerSettings::kSlowestWpm, KeyerSettings::kFastestWpm, tr(" WPM"));
    form->addRow(tr("&Speed:"), speed_);
    weight_ = spin("WeightingSpinEdit", 25, 75, tr(" %"));
    weight_->setToolTip(tr("50 %: a mark as long as the gap after it"));
    form->addRow(tr("&Weighting:"), weight_);
    ratio_ = spin("DashRatioSpinEdit", 20, 45, tr(" tenths"));
    ratio_->setToolTip(tr("A dash's length in tenths of a dot: 30 is three dots"));
    form->addRow(tr("&Dash ratio:"), ratio_);
    memory_ = new QCheckBox(tr("Dot &memory"), this);
    memory_->setObjectName(QStringLiteral("DotMemoryCheckBox"));
    form->addRow(QString(), memory_);
    volume_ = spin("SidetoneVolumeSpinEdit", 0, 100, tr(" %"));
    form->addRow(tr("Sidetone &volume:"), volume_);

    const char* names[] = {"DitKeyButton", "DahKeyButton", "StraightKeyButton"};
    const QString captions[] = {tr("Dit paddle key:"), tr("Dah paddle key:"), tr("Straight key:")};
    for (int c = 0; c < 3; ++c) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(names[c]));
        button->setCheckable(true);
        button->setToolTip(tr("Click, then press the key to use"));
        button->installEventFilter(this);
        keys_[static_cast<std::size_t>(c)] = button;
        form->addRow(captions[c], button);
    }

    serial_ = new QComboBox(this);
    serial_->setObjectName(QStringLiteral("SerialKeyComboBox"));
    serial_->setEditable(true);
    serial_->setToolTip(tr("A key on the serial port's DSR (dit), CTS (dah) and DCD (straight key) lines"));
    form->addRow(tr("Serial &port key:"), serial_);
    midi_ = new QCheckBox(tr("MIDI key &adapter:"), this);
    midi_->setObjectName(QStringLiteral("MidiKeyCheckBox"));
    midiPort_ = new QComboBox(this);
    midiPort_->setObjectName(QStringLiteral("MidiPortComboBox"));
    midiPort_->setAccessibleName(tr("MIDI port"));  // its label is the check box
    form->addRow(midi_, midiPort_);
    midiNote_ = new QLabel(this);
    midiNote_->setObjectName(QStringLiteral("MidiNoteLabel"));
    midiNote_->setWordWrap(true);
    form->addRow(QString(), midiNote_);
    keyRig_ = new QCheckBox(tr("Key the rig while sending"), this);
    keyRig_->setObjectName(QStringLiteral("KeyRigCheckBox"));
    keyRig_->setToolTip(
        tr("DTR and RTS of the rig control port (first page) follow each mark as you hear it"));
    form->addRow(QString(), keyRig_);
}

void SendingSetupPage::ShowKey(KeyContact contact) {
    const auto c = static_cast<std::size_t>(contact);
    keys_[c]->setChecked(false);
    keys_[c]->setText(codes_[c] == 0 ? tr("(none)") : tr("Scan code %1").arg(codes_[c]));
}

bool SendingSetupPage::eventFilter(QObject* watched, QEvent* event) {
    for (int c = 0; c < 3; ++c) {
        QPushButton* button = keys_[static_cast<std::size_t>(c)];
        if (watched != button || !button->isChecked())
            continue;
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (event->type() == QEvent::KeyPress) {
                // Escape takes the key away; any other key is taken by its scan code.
                codes_[static_cast<std::size_t>(c)] =
                    key->key() == Qt::Key_Escape ? 0 : key->nativeScanCode();
                ShowKey(static_cast<KeyContact>(c));
            }
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SendingSetupPage::Load(const SettingsStore& store) {
    const SendingOptions o = SendingOptions::Read(store);
    mode_->setCurrentIndex(static_cast<int>(o.keyer.mode));
    speed_->setValue(o.keyer.wpm);
    weight_->setValue(o.keyer.weightPercent);
    ratio_->setValue(o.keyer.dashRatioTenths);
    memory_->setChecked(o.keyer.dotMemory);
    volume_->setValue(o.volumePercent);
    codes_ = {o.ditKey, o.dahKey, o.straightKey};
    for (int c = 0; c < 3; ++c)
        ShowKey(static_cast<KeyContact>(c));
    serial_->clear();
    serial_->addItem(QString());
    serial_->addItems(AvailableSerialDevices());
    serial_->setEditText(o.serialDevice);
    midi_->setChecked(o.midi);
    midiPort_->clear();
    midiPort_->addItem(tr("The first adapter found"), QString());
    const QStringList ports = AlsaMidiKeys::Ports();
    for (const QString& port : ports)
        midiPort_->addItem(port, port);
    if (!o.midiPort.isEmpty() && midiPort_->findData(o.midiPort) < 0)
        midiPort_->addItem(o.midiPort, o.midiPort);  // chosen before, not plugged in now
    midiPort_->setCurrentIndex(std::max(midiPort_->findData(o.midiPort), 0));
    keyRig_->setChecked(o.keyRig);
    midiNote_->setText(ports.isEmpty()
                           ? tr("No MIDI device is plugged in.")
                           : tr("%n MIDI port(s) found.", nullptr, static_cast<int>(ports.size())));
}

SendingOptions SendingSetupPage::Options() const {
    SendingOptions o;
    o.keyer.mode = static_cast<KeyerMode>(std::max(mode_->currentIndex(), 0));
    o.keyer.wpm = speed_->value();
    o.keyer.weightPercent = weight_->value();
    o.keyer.dashRatioTenths = ratio_->value();
    o.keyer.dotMemory = memory_->isChecked();
    o.volumePercent = volume_->value();
    o.ditKey = codes_[0];
    o.dahKey = codes_[1];
    o.straightKey = codes_[2];
    o.serialDevice = serial_->currentText().trimmed();
    o.midi = midi_->isChecked();
    o.midiPort = midiPort_->currentData().toString();
    o.keyRig = keyRig_->isChecked();
    return o;
}

void SendingSetupPage::Save(SettingsStore& store) const {
    Options().Write(store);
}

}  // namespace lumbrel
