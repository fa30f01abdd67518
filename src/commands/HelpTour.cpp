#include "commands/HelpTour.h"

#include "commands/LineCommands.h"
#include "commands/Workspace.h"
#include "document/ProgramInfo.h"
#include "document/TimeText.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

namespace korv {

namespace {

constexpr int kCorner = 2; // every balloon sits in the top-right corner

// The user's document while the tour's sample rows are in the list: its
// rows, the chosen row, the restore buffer and whether it had changes, all
// put back exactly however the tour ends.
class UserDocumentAside {
public:
    explicit UserDocumentAside(Workspace &ws)
        : ws_(ws), rows_(ws.list.rows()), selected_(ws.list.selected()), modified_(ws.list.isModified()),
          buffer_(ws.deletedRowBuffer), restoreEnabled_(ws.restoreEnabled())
    {
    }
    ~UserDocumentAside()
    {
        ws_.list.replaceAll(std::move(rows_));
        ws_.list.select(selected_);
        ws_.list.setModified(modified_);
        ws_.deletedRowBuffer = buffer_;
        ws_.setRestoreEnabled(restoreEnabled_);
    }
    UserDocumentAside(const UserDocumentAside &) = delete;
    UserDocumentAside &operator=(const UserDocumentAside &) = delete;

private:
    Workspace &ws_;
    std::vector<SubtitleEntry> rows_;
    int selected_;
    bool modified_;
    std::array<QString, 4> buffer_;
    bool restoreEnabled_;
};

} // namespace

QString helpTourClosingText()
{
    return QStringLiteral(
               "Konuyu kapatmadan bir hatırlatma: Kısayollar ilk etapta biraz karışık gelebilir. Programı yapan "
               "bana bile öyle geldi. Ama birazcık kullanınca insan alışıyor. Eğer Numeric Keypad i fazlaca "
               "kullanan birisi iseniz (ki genelde öyledir) SCROLL LOCK tuşunu kapatarak kısayolları devre dışı "
               "bırakabilirsiniz.")
        + QStringLiteral("\r\n") + QStringLiteral("\r\n")
        + QStringLiteral("NOT: Kısayol tablosunu F1 tuşu ile ekrana getirebilirsiniz.");
}

void StartHelpTour(Workspace &ws, const HelpTourHooks &hooks)
{
    if (ws.language.CurrentLanguage() != QLatin1String("Turkish")) {
        ws.ui.showNotice(QStringLiteral("Only in Turkish"), QStringLiteral("UPSS"));
        return;
    }
    if (ws.list.count() >= 2) {
        ws.ui.showNotice(ws.language.LangMessage(msg::TourNeedsEmptyList), ProgramInfo::kNoticeTitle);
        return;
    }
    // The sample rows are the tour's, not the user's work, nor its history.
    const DocumentHistory::Pause quiet(ws.history);
    const UserDocumentAside aside(ws);
    auto balloon = [&](TourTarget target, const char *page) {
        if (hooks.showBalloon)
            hooks.showBalloon(kCorner, hooks.tipFor ? hooks.tipFor(target) : QPoint(), QString::fromLatin1(page));
    };
    auto timer = [](const std::function<void(bool)> &set, bool on) {
        if (set)
            set(on);
    };

    Cubuk_ButtonClick(ws, 2);
    balloon(TourTarget::HelpButton, "01.html");

    if (hooks.selectEditTab)
        hooks.selectEditTab();
    balloon(TourTarget::Tabs, "05.html");

    ws.fields.setText(EditFields::Line1, ws.language.LangMessage(msg::TourSampleOne));
    Cubuk_ButtonClick(ws, 1);
    ws.fields.setText(EditFields::Line1, ws.language.LangMessage(msg::TourSampleTwo));
    timer(hooks.setTimerOr1, true);
    balloon(TourTarget::LineField, "02.html");
    timer(hooks.setTimerOr1, false);

    ws.list.select(0);
    // Row 1's sample times, in the user's number format so that they read back.
    ws.fields.setText(EditFields::Start, SecondsToText(25.32, ws.numbers));
    ws.fields.setText(EditFields::End, SecondsToText(30.52, ws.numbers));
    balloon(TourTarget::TimeFields, "03.html");

    timer(hooks.setTimerOr2, true);
    balloon(TourTarget::LengthenButton, "04.html");
    timer(hooks.setTimerOr2, false);

    ws.ui.showNotice(helpTourClosingText(), QStringLiteral("SON OLARAK..."));

    Cubuk_ButtonClick(ws, 2);
    Cubuk_ButtonClick(ws, 2);
}

void TimerOr1_Timer(Workspace &ws)
{
    if (ws.list.count() < 2)
        return;
    ws.list.select(ws.list.selected() == 0 ? 1 : 0);
}

void TimerOr2_Timer(Workspace &ws)
{
    ws.fields.CmdArayiAc_Click();
}

} // namespace korv
