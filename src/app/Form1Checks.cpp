// Form1's wiring of the reading checks and the spelling: the list's reading
// speed column and marks, the reading speed and line lengths beside the
// fields, misspelt words underlined in the line fields with suggestions on a
// right-click, the dictionary menu and the report window.
#include "app/Form1.h"

#include "commands/ReadingCommands.h"
#include "commands/SpellingCommands.h"
#include "help/OptionsWindow.h"
#include "help/ReadingReportWindow.h"
#include "locale/MessageKeys.h"
#include "locale/ReadingProfileStore.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTextCharFormat>
#include <QToolButton>

namespace korv {

namespace {

constexpr int kLineFieldWidth = 4605;

QString dictionaryCaption(const QString &name)
{
    const QLocale locale(name);
    const QString language = locale.nativeLanguageName();
    return language.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(language, name);
}

} // namespace

void Form1::wireReadingChecks()
{
    ws_.readingProfile = loadReadingProfile();
    ws_.reading.recheckAll();
    readingAnnotations_ = std::make_unique<ReadingAnnotations>(ws_, model_);
    model_.setAnnotations(readingAnnotations_.get());
    // The reading speed stands between the times and the text, which keeps
    // the rest of the width.
    Listview->horizontalHeader()->moveSection(SubtitleTableModel::kExtraColumn, ColText);
    Listview->setColumnWidth(SubtitleTableModel::kExtraColumn, 58);

    // Beside the times: the reading speed; beside each line: its length.
    QWidget *panel = Frame2[0];
    LblUzunluk->setGeometry(twips(3510, 105, 1005, 300));
    LblOkumaHizi = new QLabel(panel);
    LblOkumaHizi->setObjectName(QStringLiteral("LblOkumaHizi"));
    LblOkumaHizi->setGeometry(twips(4530, 105, 750, 300));
    CmdArayiAc->setGeometry(twips(5295, 60, 495, 345));
    CmdArayiKapat->setGeometry(twips(5850, 60, 495, 345));
    for (int k = 0; k < 3; ++k) {
        QLineEdit *field = Text1[std::size_t(EditFields::Line1 + k)];
        field->resize(twips(0, 0, kLineFieldWidth, 315).width(), field->height());
        auto *length = new QLabel(panel);
        length->setObjectName(QStringLiteral("LblSatirUzunlugu(%1)").arg(k));
        length->setGeometry(twips(1260 + kLineFieldWidth + 45, 435 + k * 330 + 30, 6345 - 1305 - kLineFieldWidth, 300));
        length->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        LblSatirUzunlugu[std::size_t(k)] = length;
    }
    connect(&ws_.reading, &ReadingMarks::changed, this, [this](int first, int last) {
        const int row = ws_.list.selected();
        if (row >= first && row <= last)
            showReadingLabels();
    });
    connect(&ws_.list, &SubtitleList::selectionChanged, this, &Form1::showReadingLabels);
    showReadingLabels();

    // The report, from the check panel.
    CmdRapor = new QPushButton(QStringLiteral("OKUNABİLİRLİK RAPORU"), Frame2[3]);
    CmdRapor->setObjectName(QStringLiteral("CmdRapor"));
    CmdRapor->setGeometry(twips(90, 960, 2835, 435));
    connect(CmdRapor, &QPushButton::clicked, this, &Form1::CmdRapor_Click);

    // The limits changed in the options window: every row again.
    connect(frmSecenekler, &OptionsWindow::readingLimitsChanged, this, [this] {
        ws_.readingProfile = loadReadingProfile();
        ws_.reading.recheckAll();
        showReadingLabels();
    });

    // Spelling: the document's dictionary, chosen from the options menu.
    mnusozluk = new QMenu(mnuoptions);
    mnusozluk->setObjectName(QStringLiteral("mnusozluk"));
    mnuoptions->insertMenu(mnusecenekler, mnusozluk);
    connect(mnusozluk, &QMenu::aboutToShow, this, &Form1::fillDictionaryMenu);
    connect(&ws_.spelling, &DocumentSpelling::ready, this, &Form1::spellFields);
    for (int k = EditFields::Line1; k <= EditFields::Line3; ++k)
        connect(Text1[std::size_t(k)], &QLineEdit::textChanged, this, [this, k] { spellField(k); });
    // Another file may have another dictionary; the one in use follows it
    // once spelling has begun.
    connect(&ws_.list, &SubtitleList::resetDone, this, [this] {
        if (spelledFile_ != ws_.currentSubtitleFile && (ws_.spelling.checker() || ws_.spelling.loading())) {
            spelledFile_ = ws_.currentSubtitleFile;
            ws_.spelling.followDocument();
        }
    });
}

void Form1::showReadingTexts()
{
    if (!LblOkumaHizi)
        return;
    model_.extraHeaderChanged();
    LblOkumaHizi->setAccessibleName(ws_.language.LangText(msg::NameReadingSpeed));
    LblOkumaHizi->setToolTip(LblOkumaHizi->accessibleName());
    for (int k = 0; k < 3; ++k) {
        const QString name = ws_.language.LangText(Message::of(msg::NameLineLength, {QString::number(k + 1)}));
        LblSatirUzunlugu[std::size_t(k)]->setAccessibleName(name);
        LblSatirUzunlugu[std::size_t(k)]->setToolTip(name);
    }
    mnusozluk->setTitle(ws_.language.LangText(msg::MenuDictionary));
    showReadingLabels();
}

void Form1::showReadingLabels()
{
    const int row = ws_.list.selected();
    const ReadingRules rules = readingRules(ws_);
    const RowReading reading = readRow(ws_.list.rows(), row, rules);
    const bool valid = ws_.list.isValidRow(row);
    auto mark = [](QLabel *label, bool over, const QString &text) {
        label->setText(over ? kReadingMark + text : text);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, over ? QColor(170, 0, 0) : QPalette().color(QPalette::WindowText));
        label->setPalette(palette);
    };
    QString speed;
    if (valid && reading.cps)
        speed = readingValueText(ReadingRule::Cps, *reading.cps, rules);
    mark(LblOkumaHizi, valid && (reading.broken & ruleBit(ReadingRule::Cps)), speed);
    LblOkumaHizi->setToolTip(valid && reading.broken ? readingTooltip(ws_, row)
                                                     : ws_.language.LangText(msg::NameReadingSpeed));
    // Each field's own line, as the field shows it.
    for (int k = 0; k < 3; ++k) {
        const QString &line = ws_.fields.text(EditFields::Line1 + k);
        const ShownText shown = measureShownText(line);
        const int length = shown.characters;
        const int limit = rules.profile.maxLineLength;
        mark(LblSatirUzunlugu[std::size_t(k)], limit > 0 && length > limit,
             valid && !line.isEmpty() ? QString::number(length) : QString());
    }
}

void Form1::spellFields()
{
    for (int k = EditFields::Line1; k <= EditFields::Line3; ++k)
        spellField(k);
}

void Form1::spellField(int index)
{
    QLineEdit *field = Text1[std::size_t(index)];
    QList<QInputMethodEvent::Attribute> formats;
    if (const auto checker = ws_.spelling.checker()) {
        QTextCharFormat wavy;
        wavy.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        wavy.setUnderlineColor(QColor(220, 0, 0));
        const QString text = field->text();
        // A line edit takes formats only through an input method's event,
        // placed relative to its cursor.
        for (const WordSpan &w : checker->unknownWords(text))
            formats << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat,
                                                    int(w.start) - field->cursorPosition(), int(w.length), wavy);
    }
    QInputMethodEvent event(QString(), formats);
    QCoreApplication::sendEvent(field, &event);
}

void Form1::addSpellingItems(QLineEdit *field, const QPoint &at, QMenu *menu)
{
    const int index = text1Index(field);
    const auto checker = ws_.spelling.checker();
    if (index < EditFields::Line1 || index > EditFields::Line3 || !checker)
        return;
    const QString text = field->text();
    const int position = field->cursorPositionAt(at);
    for (const WordSpan &w : checker->unknownWords(text)) {
        if (position < w.start || position > w.start + w.length)
            continue;
        const QString word = text.mid(w.start, w.length);
        QAction *first = menu->actions().value(0);
        QList<QAction *> items;
        const QStringList suggestions = checker->suggestions(word);
        for (const QString &suggestion : suggestions) {
            auto *item = new QAction(suggestion, menu);
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            connect(item, &QAction::triggered, this, [this, index, w, suggestion] {
                QString changed = ws_.fields.text(index);
                changed.replace(w.start, w.length, suggestion);
                ws_.fields.setText(index, changed);
            });
            items << item;
        }
        if (suggestions.isEmpty()) {
            auto *none = new QAction(ws_.language.LangText(msg::MenuNoSuggestions), menu);
            none->setEnabled(false);
            items << none;
        }
        auto *add = new QAction(ws_.language.LangText(msg::MenuAddToDictionary), menu);
        add->setObjectName(QStringLiteral("mnuSozlugumeEkle"));
        connect(add, &QAction::triggered, this, [this, word] { ws_.spelling.addToMyDictionary(word); });
        auto *ignore = new QAction(ws_.language.LangText(msg::MenuIgnoreWord), menu);
        ignore->setObjectName(QStringLiteral("mnuYoksay"));
        connect(ignore, &QAction::triggered, this, [this, word] { ws_.spelling.ignore(word); });
        items << add << ignore;
        menu->insertActions(first, items);
        menu->insertSeparator(first);
        return;
    }
}

void Form1::fillDictionaryMenu()
{
    mnusozluk->clear();
    auto *group = new QActionGroup(mnusozluk);
    QStringList names = ws_.spelling.installed();
    names.prepend(QString());
    for (const QString &name : names) {
        QAction *item = mnusozluk->addAction(name.isEmpty() ? ws_.language.LangText(msg::MenuNoDictionary)
                                                            : dictionaryCaption(name));
        item->setCheckable(true);
        item->setChecked(name == ws_.spelling.dictionary());
        item->setData(name);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, name] {
            spelledFile_ = ws_.currentSubtitleFile;
            ws_.spelling.choose(name);
        });
    }
}

void Form1::CmdRapor_Click()
{
    if (!frmRapor) {
        frmRapor = new ReadingReportWindow(language_, this);
        connect(frmRapor, &ReadingReportWindow::rowChosen, this, [this](int row) { ws_.list.select(row); });
        connect(frmRapor, &ReadingReportWindow::fixRequested, this, [this](int row) {
            fixReadingProblem(ws_, row);
            refreshReport(false);
        });
        connect(frmRapor, &ReadingReportWindow::fixAllRequested, this, [this] {
            fixAllReadingProblems(ws_);
            refreshReport(false);
        });
        connect(frmRapor, &ReadingReportWindow::refreshRequested, this, [this] { refreshReport(true); });
        connect(frmRapor, &ReadingReportWindow::stopRequested, this, [this] {
            if (spellingRun_)
                spellingRun_->cancel();
        });
    }
    ws_.spelling.followDocument();
    refreshReport(true);
    frmRapor->show();
    frmRapor->raise();
}

void Form1::refreshReport(bool spellAgain)
{
    if (!frmRapor)
        return;
    std::vector<ReportRowView> lines;
    auto add = [&lines](const ReportLine &line) {
        lines.push_back({line.row, line.ruleText, line.valueText, line.limitText, line.fixText});
    };
    for (const ReportLine &line : readingReport(ws_))
        add(line);
    if (!spellAgain) {
        for (const auto &[row, word] : spellingFound_)
            add(spellingLine(ws_, row, word));
    }
    auto summary = [this](int count) {
        return count == 0 ? ws_.language.LangText(msg::ReportNothing)
                          : ws_.language.LangText(Message::of(msg::ReportCount, {QString::number(count)}));
    };
    frmRapor->setLines(lines, summary(int(lines.size())));
    if (!spellAgain)
        return;

    // The spelling runs on a worker over the texts as they are now; the
    // user may go on typing meanwhile.
    spellingRun_.reset();
    spellingFound_.clear();
    auto startRun = [this, summary] {
        const auto checker = ws_.spelling.checker();
        if (!checker || !frmRapor)
            return;
        std::vector<QString> texts;
        texts.reserve(std::size_t(ws_.list.count()));
        for (const SubtitleEntry &entry : ws_.list.rows())
            texts.push_back(entry.text);
        spellingRun_ = std::make_unique<SpellingRun>(checker, std::move(texts));
        SpellingRun *run = spellingRun_.get();
        auto progressText = [this](int done, int total) {
            return ws_.language.LangText(Message::of(msg::SpellingProgress, {QString::number(done), QString::number(total)}));
        };
        frmRapor->showProgress(progressText(0, run->total()), 0, run->total());
        connect(run, &SpellingRun::progress, frmRapor, [this, progressText](int done, int total) {
            frmRapor->showProgress(progressText(done, total), done, total);
        });
        connect(run, &SpellingRun::finished, frmRapor, [this, run, summary] {
            frmRapor->showProgress(QString(), 0, 0);
            std::vector<ReportRowView> found;
            for (const SpellingRun::Found &f : run->found()) {
                spellingFound_.push_back({f.row, f.word});
                const ReportLine line = spellingLine(ws_, f.row, f.word);
                found.push_back({line.row, line.ruleText, line.valueText, line.limitText, line.fixText});
            }
            QString text = summary(frmRapor->lineCount() + int(found.size()));
            if (run->wasCancelled())
                text += QStringLiteral("  ")
                    + ws_.language.LangText(Message::of(msg::SpellingStopped, {QString::number(run->done()),
                                                                               QString::number(run->total())}));
            frmRapor->addLines(found, text);
        });
        run->start();
    };
    if (ws_.spelling.checker()) {
        startRun();
    } else if (ws_.spelling.loading()) {
        frmRapor->showProgress(ws_.language.LangText(Message::of(msg::DictionaryLoading, {ws_.spelling.dictionary()})), 0, 0);
        // Once, when the dictionary is in.
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = connect(&ws_.spelling, &DocumentSpelling::ready, this, [this, once, startRun] {
            disconnect(*once);
            if (frmRapor)
                frmRapor->showProgress(QString(), 0, 0);
            startRun();
        });
    }
}

} // namespace korv
