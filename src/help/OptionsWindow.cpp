#include "help/OptionsWindow.h"

#include "dialogs/UserDialogs.h"
#include "document/ProgramInfo.h"
#include "document/TimeText.h"
#include "help/ApplyLanguage.h"
#include "help/ReadingLimitsBox.h"
#include "help/Twips.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"
#include "locale/Options.h"
#include "locale/ReadingProfileStore.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace korv {

namespace {

const QRect kClient = Twips::rect(0, 0, 9285, 5910);
// The reading limits and then the voice's options sit between the options
// and the close button.
const QRect kLimits = Twips::rect(60, 2310, 9150, 1710);
const QRect kVoice = Twips::rect(60, 4080, 9150, 1260);
constexpr int kCheckWidth = 9150;
const QRect kCloseButton = Twips::rect(7110, 5490, 1650, 330);

QFrame *separator(QWidget *parent, int top)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(Twips::rect(60, top, kCheckWidth, 30));
    return line;
}

} // namespace

OptionsWindow::OptionsWindow(UserDialogs &ui, const Language &language, NumberFormat numbers, QWidget *parent)
    : QDialog(parent), ui_(ui), language_(language), numbers_(numbers)
{
    setObjectName(QStringLiteral("frmSecenekler"));
    setWindowTitle(QStringLiteral(" SEÇENEKLER"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClient.size());

    const char *captions[kCheckCount] = {
        "Film ilerledikçe altyazı onu takip etsin",
        "Kısayollar 4,5 veya 6 'yla altyazı başlangıç-bitiş noktası yakaladıktan sonra filmi DURDUR",
        "Kısayol 4 tuşuyla altyazı BAŞLANGIÇ noktasını yakaladıktan sonra altyazı BİTİŞ noktası olarak x saniye "
        "sonrasını yaz",
        "Kısayol 6 tuşu ile altyazı BİTİŞ noktasını yakaladıktan sonra yeni bir altyazı ekle ve üzerine gel",
        "Kısayol 5 tuşunu PAUSE olarak kullan. Kısayol 2 tuşu ise sadece PLAY olsun",
    };
    const int tops[kCheckCount] = {75, 420, 765, 1500, 1845};
    for (int i = 0; i < kCheckCount; ++i) {
        auto *box = new QCheckBox(QString::fromUtf8(captions[i]), this);
        box->setObjectName(QStringLiteral("Check1(%1)").arg(i));
        box->setGeometry(Twips::rect(60, tops[i], kCheckWidth, 315));
        Check1[std::size_t(i)] = box;
    }

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(Twips::rect(630, 1140, 870, 285));
    Label1 = new QLabel(QStringLiteral("saniye"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(Twips::rect(1545, 1170, 1350, 300));

    CmdKapat = new QPushButton(QStringLiteral("KAPAT (ESC)"), this);
    CmdKapat->setObjectName(QStringLiteral("CmdKapat"));
    CmdKapat->setGeometry(kCloseButton);
    // The cancel button only: Enter in the seconds field does not close.
    CmdKapat->setAutoDefault(false);

    separators_ = {separator(this, 1470), separator(this, 2235)};
    limits = new ReadingLimitsBox(numbers_, this);
    limits->setGeometry(kLimits);
    limits->setProfile(loadReadingProfile());
    buildVoiceBox();

    // Every change is stored at once, the ones the load step makes too.
    for (int i = 0; i < kCheckCount; ++i)
        connect(Check1[std::size_t(i)], &QCheckBox::toggled, this, [this, i] { Check1_Click(i); });
    connect(CmdKapat, &QPushButton::clicked, this, &OptionsWindow::CmdKapat_Click);

    const StoredOptions stored = loadStoredOptions();
    for (int i = 0; i < kCheckCount; ++i)
        Check1[std::size_t(i)]->setChecked(stored.flags[std::size_t(i)]);
    Text1->setText(stored.seconds);
}

void OptionsWindow::buildVoiceBox()
{
    FrameSes = new QGroupBox(QStringLiteral("SESE OTURTMA"), this);
    FrameSes->setObjectName(QStringLiteral("FrameSes"));
    FrameSes->setGeometry(kVoice);
    ChkSeseOturt = new QCheckBox(
        QString::fromUtf8("Kısayollar 4, 5 ve 6 ile yakalanan zamanı en yakın konuşma başına ya da sonuna oturt"), FrameSes);
    ChkSeseOturt->setObjectName(QStringLiteral("ChkSeseOturt"));
    LblSesAra = new QLabel(QString::fromUtf8("Satırlar arasında en az ara (kare):"), FrameSes);
    LblSesAra->setObjectName(QStringLiteral("LblSesAra"));
    TxtSesAra = new QLineEdit(FrameSes);
    TxtSesAra->setObjectName(QStringLiteral("TxtSesAra"));
    LblSesSure = new QLabel(QString::fromUtf8("En kısa süre (saniye):"), FrameSes);
    LblSesSure->setObjectName(QStringLiteral("LblSesSure"));
    TxtSesSure = new QLineEdit(FrameSes);
    TxtSesSure->setObjectName(QStringLiteral("TxtSesSure"));
    for (QLineEdit *field : {TxtSesAra, TxtSesSure})
        field->setFixedWidth(60);
    LblSesAra->setBuddy(TxtSesAra);
    LblSesSure->setBuddy(TxtSesSure);
    auto *grid = new QGridLayout(FrameSes);
    grid->addWidget(ChkSeseOturt, 0, 0, 1, 4);
    grid->addWidget(LblSesAra, 1, 0);
    grid->addWidget(TxtSesAra, 1, 1);
    grid->addWidget(LblSesSure, 1, 2);
    grid->addWidget(TxtSesSure, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);

    const VoiceOptions stored = loadVoiceOptions();
    ChkSeseOturt->setChecked(stored.snapCaptures);
    TxtSesAra->setText(QString::number(stored.minGapFrames));
    TxtSesSure->setText(SecondsToText(stored.minDuration, numbers_));
    connect(ChkSeseOturt, &QCheckBox::toggled, this, [](bool on) { storeVoiceSnap(on); });
}

std::optional<VoiceOptions> OptionsWindow::typedVoiceLimits(QLineEdit **bad) const
{
    VoiceOptions options;
    options.snapCaptures = ChkSeseOturt->isChecked();
    const auto gap = TextToNumberWithoutGroups(TxtSesAra->text(), numbers_);
    if (!gap || !(*gap >= 0 && *gap <= 1000) || *gap != std::floor(*gap)) {
        if (bad)
            *bad = TxtSesAra;
        return std::nullopt;
    }
    const auto shortest = TextToNumberWithoutGroups(TxtSesSure->text(), numbers_);
    if (!shortest || !(*shortest >= 0 && *shortest <= 60)) {
        if (bad)
            *bad = TxtSesSure;
        return std::nullopt;
    }
    options.minGapFrames = int(*gap);
    options.minDuration = *shortest;
    return options;
}

VoiceOptions OptionsWindow::voiceOptions() const
{
    if (auto typed = typedVoiceLimits())
        return *typed;
    VoiceOptions stored = loadVoiceOptions();
    stored.snapCaptures = ChkSeseOturt->isChecked();
    return stored;
}

bool OptionsWindow::optionFlag(int index) const
{
    return index >= 0 && index < kCheckCount && Check1[std::size_t(index)]->isChecked();
}

QString OptionsWindow::seconds() const
{
    return Text1->text();
}

void OptionsWindow::Check1_Click(int index)
{
    storeOptionFlag(index, optionFlag(index));
}

void OptionsWindow::CmdKapat_Click()
{
    // Seconds that are no number keep the window open; nothing is stored.
    if (!TextToSeconds(Text1->text(), numbers_)) {
        ui_.showNotice(language_.LangMessage(msg::SecondsNotANumber), ProgramInfo::kNoticeTitle);
        Text1->setFocus();
        return;
    }
    storeOptionSeconds(Text1->text());
    int bad = 0;
    const auto profile = limits->profile(&bad);
    if (!profile) {
        ui_.showNotice(language_.LangText(Message::of(msg::LimitsNotNumbers, {limits->TxtSinir[std::size_t(bad)]->text()})),
                       ProgramInfo::kNoticeTitle);
        limits->TxtSinir[std::size_t(bad)]->setFocus();
        return;
    }
    if (*profile != loadReadingProfile()) {
        storeReadingProfile(*profile);
        emit readingLimitsChanged();
    }
    QLineEdit *badVoice = nullptr;
    const auto voice = typedVoiceLimits(&badVoice);
    if (!voice) {
        ui_.showNotice(language_.LangText(Message::of(msg::VoiceLimitsNotNumbers, {badVoice->text()})),
                       ProgramInfo::kNoticeTitle);
        badVoice->setFocus();
        return;
    }
    storeVoiceLimits(voice->minGapFrames, voice->minDuration);
    QDialog::reject();
}

void OptionsWindow::reject()
{
    CmdKapat_Click();
}

void OptionsWindow::showEvent(QShowEvent *event)
{
    ApplyLanguage(this, language_, ui_);
    fitCaptions();
    QDialog::showEvent(event);
}

void OptionsWindow::fitCaptions()
{
    // The design width holds the captions in the original font; with a wider
    // font or a longer translation the window grows rather than cut them.
    const int designWidth = Twips::rect(0, 0, kCheckWidth, 0).width();
    int widest = designWidth;
    for (const QCheckBox *box : Check1)
        widest = std::max(widest, box->sizeHint().width());
    widest = std::max({widest, limits->sizeHint().width(), FrameSes->sizeHint().width()});
    const int extra = widest - designWidth;
    for (QCheckBox *box : Check1)
        box->resize(widest, box->height());
    for (QFrame *line : separators_)
        line->resize(widest, line->height());
    // The two boxes grow downwards as their captions need; what is below moves down.
    const int limitsTaller = std::max(0, limits->sizeHint().height() - kLimits.height());
    limits->resize(widest, kLimits.height() + limitsTaller);
    const int voiceTaller = std::max(0, FrameSes->sizeHint().height() - kVoice.height());
    FrameSes->setGeometry(kVoice.left(), kVoice.top() + limitsTaller, widest, kVoice.height() + voiceTaller);
    const int taller = limitsTaller + voiceTaller;
    CmdKapat->move(kCloseButton.left() + extra, kCloseButton.top() + taller);
    setFixedSize(kClient.width() + extra, kClient.height() + taller);
}

} // namespace korv
