#include "app/Form1.h"

#include "app/Pictures.h"
#include "app/WrapCheckBox.h"
#include "commands/CheckCommands.h"
#include "commands/FileCommands.h"
#include "commands/LineCommands.h"
#include "commands/ReadingCommands.h"
#include "commands/SpellingCommands.h"
#include "document/ProgramInfo.h"
#include "help/AboutWindow.h"
#include "help/ReadingReportWindow.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace korv {

namespace {

QWidget *frame(QWidget *parent, const QString &name, const QRect &rect)
{
    auto *w = new QWidget(parent);
    w->setObjectName(name);
    w->setGeometry(rect);
    return w;
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, const QRect &rect)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(rect);
    return l;
}

} // namespace

QRect Form1::twips(int left, int top, int width, int height)
{
    return Twips::rect(left, top, width, height);
}

Form1::Form1(Language &language, UserDialogs *dialogs, QWidget *parent)
    : QWidget(parent), language_(language), qtDialogs_(language, NumberFormat::fromLocale(QLocale()), this),
      dialogs_(dialogs ? *dialogs : qtDialogs_), ws_(dialogs_, language), model_(ws_.list)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("KORVENDAL SUB v") + ProgramInfo::versionText());
    setWindowIcon(Pictures::program());
    const QRect client = twips(0, 0, kDesignClientWidth, kDesignClientHeight);
    resize(client.size());
    setMinimumSize(client.size());

    buildListColumn();
    buildPanels();
    buildFileToolbar();
    buildFilmColumn();
    buildMenus();

    Durum = new QStatusBar(this);
    Durum->setObjectName(QStringLiteral("Durum"));
    Durum->setSizeGripEnabled(false);
    Durum->setGeometry(twips(0, kDesignClientHeight - 255, kDesignClientWidth, 255));
    durumPanel_ = new QLabel(Durum);
    durumPanel_->setObjectName(QStringLiteral("Durum-1"));
    Durum->addWidget(durumPanel_, 1);

    Frame6->lower();

    wireList();
    wireFields();
    wireDocumentCommands();
    wireEditing();
    wireLanguage();
    wirePreview();
    wireKeyboard();
    wireHelp();
    wireReadingChecks();
    wireSpeech();
    wireSound();
    wireRecovery();

    applyOwnTexts();
    // The list's first, empty row, as the line toolbar's first button adds it.
    Cubuk_ButtonClick(ws_, 1);
    ws_.history.startNew();
    firstActivationSteps.startHelpTour = [this] { Cubuk2_ButtonClick(3); };
}

Form1::~Form1() = default;

void Form1::buildListColumn()
{
    Frame1 = frame(this, QStringLiteral("Frame1"), twips(15, -120, 6435, 4965));
    Listview = new QTableView(Frame1);
    Listview->setObjectName(QStringLiteral("Listview"));
    Listview->setGeometry(twips(60, 150, 6315, 4425));
    Listview->setModel(&model_);
    Listview->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Many rows may be highlighted for the commands that work on a
    // selection; the current row is the one the edit panel shows.
    Listview->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Listview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Listview->setWordWrap(false);
    Listview->setShowGrid(false);
    Listview->setAlternatingRowColors(true);
    Listview->verticalHeader()->hide();
    Listview->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Listview->verticalHeader()->setDefaultSectionSize(18);
    Listview->horizontalHeader()->setHighlightSections(false);
    Listview->horizontalHeader()->setStretchLastSection(true);
    // Room for six-digit row numbers ("100000") as the delegate draws them.
    Listview->setColumnWidth(0, Listview->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    Listview->setColumnWidth(1, 78);
    Listview->setColumnWidth(2, 78);

    Cubuk = new QToolBar(Frame1);
    Cubuk->setObjectName(QStringLiteral("Cubuk"));
    Cubuk->setGeometry(twips(15, 4620, 6405, 330));
    Cubuk->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const char *captions[] = {"SATIR EKLE", "SATIR SİL", "GERİ AL SİL"};
    for (int i = 0; i < 3; ++i) {
        CubukButtons[std::size_t(i)] = Cubuk->addAction(QString::fromUtf8(captions[i]));
        CubukButtons[std::size_t(i)]->setObjectName(QStringLiteral("Cubuk-%1").arg(i + 1));
    }
    CubukButtons[2]->setEnabled(false);

    Frame4 = frame(this, QStringLiteral("Frame4"), twips(15, 4725, 5310, 585));
    Label1[5] = label(Frame4, QStringLiteral("Label1(5)"), QStringLiteral("ARAMA :"), twips(90, 210, 1140, 270));
    Text1[EditFields::Search] = new QLineEdit(Frame4);
    Text1[EditFields::Search]->setGeometry(twips(1260, 180, 3930, 315));
    Label1[5]->setBuddy(Text1[EditFields::Search]);

    Frame5 = frame(this, QStringLiteral("Frame5"), twips(5295, 4725, 1155, 585));
    CmdFind = new QPushButton(QStringLiteral("BUL (F3)"), Frame5);
    CmdFind->setObjectName(QStringLiteral("CmdFind"));
    CmdFind->setGeometry(twips(15, 105, 1125, 465));

    Frame3 = frame(this, QStringLiteral("Frame3"), twips(15, 5190, 6435, 510));
    Sekme = new QTabBar(Frame3);
    Sekme->setObjectName(QStringLiteral("Sekme"));
    Sekme->setGeometry(twips(30, 135, 6360, 345));
    Sekme->setExpanding(true);
    Sekme->setDrawBase(false);
    for (const char *caption : {"DEĞİŞTİR", "BÖL", "SENKRONİZE", "KONTROL && TAMİR"})
        Sekme->addTab(QString::fromUtf8(caption));
    connect(Sekme, &QTabBar::tabBarClicked, this, [this](int index) {
        Sekme->setCurrentIndex(index);
        Sekme_Click();
    });
    connect(Sekme, &QTabBar::currentChanged, this, [this] { Sekme_Click(); });
}

void Form1::buildPanels()
{
    for (int k = 0; k < 4; ++k) {
        Frame2[std::size_t(k)] = frame(this, QStringLiteral("Frame2(%1)").arg(k), twips(15, 5580, 6435, 1470));
        Frame2[std::size_t(k)]->setVisible(k == 0);
    }
    buildEditPanel(Frame2[0]);
    buildSplitPanel(Frame2[1]);
    buildShiftPanel(Frame2[2]);
    buildCheckPanel(Frame2[3]);
}

void Form1::buildEditPanel(QWidget *panel)
{
    Label1[0] = label(panel, QStringLiteral("Label1(0)"), QStringLiteral("SÜRE :"), twips(90, 105, 1140, 300));
    Text1[EditFields::Start] = new QLineEdit(panel);
    Text1[EditFields::Start]->setGeometry(twips(1260, 75, 1050, 315));
    Text1[EditFields::End] = new QLineEdit(panel);
    Text1[EditFields::End]->setGeometry(twips(2385, 75, 1050, 315));
    LblUzunluk = label(panel, QStringLiteral("LblUzunluk"), QString(), twips(3510, 105, 1350, 300));
    CmdArayiAc = new QToolButton(panel);
    CmdArayiAc->setObjectName(QStringLiteral("CmdArayiAc"));
    CmdArayiAc->setIcon(Pictures::lengthen());
    CmdArayiAc->setGeometry(twips(4935, 60, 525, 345));
    CmdArayiAc->setToolTip(QStringLiteral("Altyazının ekranda kalma süresini ARTTIR"));
    CmdArayiAc->setAccessibleName(CmdArayiAc->toolTip());
    CmdArayiKapat = new QToolButton(panel);
    CmdArayiKapat->setObjectName(QStringLiteral("CmdArayiKapat"));
    CmdArayiKapat->setIcon(Pictures::shorten());
    CmdArayiKapat->setGeometry(twips(5520, 60, 525, 345));
    CmdArayiKapat->setToolTip(QStringLiteral("Altyazının ekranda kalma süresini AZALT"));
    CmdArayiKapat->setAccessibleName(CmdArayiKapat->toolTip());
    const char *lineCaptions[] = {"SATIR - 1 :", "SATIR - 2 :", "SATIR - 3 :"};
    for (int k = 0; k < 3; ++k) {
        const int top = 435 + k * 330;
        Label1[std::size_t(2 + k)] = label(panel, QStringLiteral("Label1(%1)").arg(2 + k),
                                           QString::fromUtf8(lineCaptions[k]), twips(90, top + 30, 1140, 300));
        Text1[std::size_t(EditFields::Line1 + k)] = new QLineEdit(panel);
        Text1[std::size_t(EditFields::Line1 + k)]->setGeometry(twips(1260, top, 5085, 315));
        Label1[std::size_t(2 + k)]->setBuddy(Text1[std::size_t(EditFields::Line1 + k)]);
    }
    Label1[0]->setBuddy(Text1[EditFields::Start]);
}

void Form1::buildSplitPanel(QWidget *panel)
{
    Label1[11] = label(panel, QStringLiteral("Label1(11)"),
                       QStringLiteral("Belirlenen BÖLÜNME NOKTASI ndan itibaren ikinci altyazı dosyası başlar. "
                                      "Belirlenen nokta dahil."),
                       twips(90, 60, 6255, 450));
    Label1[11]->setWordWrap(true);
    Label1[7] = label(panel, QStringLiteral("Label1(7)"), QStringLiteral("BÖLÜNME NOKTASI :"), twips(90, 630, 2100, 300));
    Text1[EditFields::SplitPoint] = new QLineEdit(panel);
    Text1[EditFields::SplitPoint]->setGeometry(twips(2250, 600, 1200, 315));
    Label1[7]->setBuddy(Text1[EditFields::SplitPoint]);
    Label1[12] = label(panel, QStringLiteral("Label1(12)"), QStringLiteral("saniye"), twips(3525, 630, 900, 300));
    Label1[1] = label(panel, QStringLiteral("Label1(1)"), QStringLiteral("ALTYAZI FORMATI :"), twips(90, 1035, 2100, 300));
    Combo1 = new QComboBox(panel);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->addItems({QStringLiteral("Sub Viewer 2.x"), QStringLiteral("MicroDVD")});
    Combo1->setGeometry(twips(2250, 990, 2100, 345));
    Label1[1]->setBuddy(Combo1);
    CmdBol = new QPushButton(QStringLiteral("UYGULA"), panel);
    CmdBol->setObjectName(QStringLiteral("CmdBol"));
    CmdBol->setGeometry(twips(4650, 915, 1695, 435));
}

void Form1::buildShiftPanel(QWidget *panel)
{
    Label1[6] = label(panel, QStringLiteral("Label1(6)"),
                      QStringLiteral("Yaptığınız işlem tüm satırları etkiler. Eğer altyazı ve film arasında "
                                     "uyuşmazlık varsa kullanabilirsiniz."),
                      twips(90, 60, 6255, 450));
    Label1[6]->setWordWrap(true);
    Option1[0] = new QRadioButton(QStringLiteral("EKLE"), panel);
    Option1[0]->setObjectName(QStringLiteral("Option1(0)"));
    Option1[0]->setGeometry(twips(90, 600, 1500, 300));
    Option1[0]->setChecked(true);
    Option1[1] = new QRadioButton(QStringLiteral("ÇIKART"), panel);
    Option1[1]->setObjectName(QStringLiteral("Option1(1)"));
    Option1[1]->setGeometry(twips(90, 990, 1500, 300));
    Label3 = label(panel, QStringLiteral("Label3"), QStringLiteral("}"), twips(1620, 480, 510, 900));
    QFont brace = Label3->font();
    brace.setPixelSize(50);
    Label3->setFont(brace);
    Text1[EditFields::ShiftSeconds] = new QLineEdit(panel);
    Text1[EditFields::ShiftSeconds]->setGeometry(twips(2145, 795, 1200, 315));
    Label1[9] = label(panel, QStringLiteral("Label1(9)"), QStringLiteral("SANİYE"), twips(3420, 825, 900, 300));
    Label1[9]->setBuddy(Text1[EditFields::ShiftSeconds]);
    CmdEkleCikar = new QPushButton(QStringLiteral("UYGULA"), panel);
    CmdEkleCikar->setObjectName(QStringLiteral("CmdEkleCikar"));
    CmdEkleCikar->setGeometry(twips(4650, 735, 1695, 435));
}

void Form1::buildCheckPanel(QWidget *panel)
{
    HataCheck1 = new WrapCheckBox(QStringLiteral("Altyazının bitiş noktasının bir sonraki altyazının başlangıç "
                                                 "noktasını geçme hatasını program düzeltsin"),
                                  panel);
    HataCheck1->setObjectName(QStringLiteral("HataCheck1"));
    HataCheck1->setGeometry(twips(90, 60, 6255, 510));
    HataCheck2 = new WrapCheckBox(QStringLiteral("Hatayı düzeltmeden önce bana sor"), panel);
    HataCheck2->setObjectName(QStringLiteral("HataCheck2"));
    HataCheck2->setGeometry(twips(90, 600, 6255, 300));
    CmdHataKontrolu = new QPushButton(QStringLiteral("HATA KONTROLÜNE BAŞLA"), panel);
    CmdHataKontrolu->setObjectName(QStringLiteral("CmdHataKontrolu"));
    CmdHataKontrolu->setGeometry(twips(3000, 960, 3345, 435));
}

void Form1::buildFileToolbar()
{
    Frame6 = frame(this, QStringLiteral("Frame6"), twips(15, 6930, 6435, 900));
    Cubuk2 = new QToolBar(Frame6);
    Cubuk2->setObjectName(QStringLiteral("Cubuk2"));
    Cubuk2->setGeometry(twips(15, 105, 6405, 780));
    Cubuk2->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Cubuk2->setIconSize(QSize(24, 24));
    const QIcon icons[] = {Pictures::files(), Pictures::options(), Pictures::help(), Pictures::about(),
                           Pictures::exit()};
    const char *captions[] = {"DOSYALAR", "SEÇENEKLER", "YARDIM", "HAKKINDA", "ÇIKIŞ"};
    for (int i = 0; i < 5; ++i) {
        QAction *action = Cubuk2->addAction(icons[i], QString::fromUtf8(captions[i]));
        action->setObjectName(QStringLiteral("Cubuk2-%1").arg(i + 1));
        Cubuk2Buttons[std::size_t(i)] = action;
        connect(action, &QAction::triggered, this, [this, i] { Cubuk2_ButtonClick(i + 1); });
        if (auto *button = Cubuk2->widgetForAction(action))
            button->setMinimumWidth(80);
    }
}

void Form1::buildFilmColumn()
{
    Frame12 = frame(this, QStringLiteral("Frame12"), twips(6420, -60, 5400, 4905));
    MediaPlayer1 = frame(Frame12, QStringLiteral("MediaPlayer1"), twips(45, 120, 5295, 4725));
    MediaPlayer1->setAutoFillBackground(true);
    QPalette dark = MediaPlayer1->palette();
    dark.setColor(QPalette::Window, QColor(16, 16, 16));
    MediaPlayer1->setPalette(dark);
    Picture2 = frame(Frame12, QStringLiteral("Picture2"), twips(45, 3390, 5295, 765));
    Picture2->setAutoFillBackground(true);
    QPalette black = Picture2->palette();
    black.setColor(QPalette::Window, Qt::black);
    Picture2->setPalette(black);
    LblAltYazi = label(Picture2, QStringLiteral("LblAltYazi"), QString(), twips(45, 30, 5190, 720));
    LblAltYazi->setAlignment(Qt::AlignCenter);
    QFont overlay(QStringLiteral("Arial"));
    overlay.setBold(true);
    overlay.setPixelSize(16);
    LblAltYazi->setFont(overlay);
    QPalette white = LblAltYazi->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    LblAltYazi->setPalette(white);
    LblAltYazi->setAttribute(Qt::WA_TranslucentBackground);

    Frame7 = frame(this, QStringLiteral("Frame7"), twips(6420, 4725, 2415, 975));
    Label1[13] = label(Frame7, QStringLiteral("Label1(13)"), QStringLiteral("KARE :"), twips(60, 120, 900, 255));
    Label1[14] = label(Frame7, QStringLiteral("Label1(14)"), QStringLiteral("SÜRE :"), twips(60, 390, 900, 255));
    Label1[8] = label(Frame7, QStringLiteral("Label1(8)"), QStringLiteral("SAAT :"), twips(60, 660, 900, 255));
    LblCurrentFrame = label(Frame7, QStringLiteral("LblCurrentFrame"), QStringLiteral("-"), twips(975, 120, 1395, 255));
    LblCurrentTime = label(Frame7, QStringLiteral("LblCurrentTime"), QStringLiteral("-"), twips(975, 390, 1395, 255));
    LblCurrentAdTime = label(Frame7, QStringLiteral("LblCurrentAdTime"), QStringLiteral("-"), twips(975, 660, 1395, 255));

    Frame13 = frame(this, QStringLiteral("Frame13"), twips(8805, 4725, 3000, 1410));
    Label1[15] = label(Frame13, QStringLiteral("Label1(15)"), QStringLiteral("TOPLAM KARE :"), twips(60, 120, 1500, 255));
    Label1[16] = label(Frame13, QStringLiteral("Label1(16)"), QStringLiteral("TOPLAM SÜRE :"), twips(60, 390, 1500, 255));
    Label1[17] = label(Frame13, QStringLiteral("Label1(17)"), QStringLiteral("FRAME RATE :"), twips(60, 660, 1500, 255));
    Label1[10] = label(Frame13, QStringLiteral("Label1(10)"), QStringLiteral("ÇÖZÜNÜRLÜK :"), twips(60, 930, 1500, 255));
    Label5 = label(Frame13, QStringLiteral("Label5"), QStringLiteral("-"), twips(1575, 120, 1380, 255));
    Label6 = label(Frame13, QStringLiteral("Label6"), QStringLiteral("-"), twips(1575, 390, 1380, 255));
    Label7 = label(Frame13, QStringLiteral("Label7"), QStringLiteral("-"), twips(1575, 660, 1380, 255));
    Label4 = label(Frame13, QStringLiteral("Label4"), QStringLiteral("-"), twips(1575, 930, 1380, 255));

    Frame14 = frame(this, QStringLiteral("Frame14"), twips(6420, 5580, 2415, 555));
    for (int i = 0; i < 2; ++i) {
        Command1[std::size_t(i)] = new QToolButton(Frame14);
        Command1[std::size_t(i)]->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        Command1[std::size_t(i)]->setIcon(i == 0 ? Pictures::skipBack() : Pictures::skipForward());
        Command1[std::size_t(i)]->setIconSize(QSize(20, 20));
    }
    Command1[0]->setGeometry(twips(30, 105, 675, 435));
    Command1[1]->setGeometry(twips(1725, 105, 675, 435));
    Text1[EditFields::SkipStep] = new QLineEdit(Frame14);
    Text1[EditFields::SkipStep]->setGeometry(twips(750, 165, 915, 300));
    Text1[EditFields::SkipStep]->setAlignment(Qt::AlignCenter);

    Frame15 = frame(this, QStringLiteral("Frame15"), twips(6420, 6015, 5385, 1815));
    ListView1 = new QTreeWidget(Frame15);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(twips(45, 135, 5265, 1635));
    ListView1->setColumnCount(3);
    ListView1->setHeaderHidden(true);
    ListView1->setRootIsDecorated(false);
    ListView1->setColumnWidth(0, 8);
    ListView1->setColumnWidth(1, 190);
    ListView1->setColumnWidth(2, Twips::toPixels(2300));
}

void Form1::buildMenus()
{
    mnudosyamenu = new QMenu(QStringLiteral("mnudosyamenu"), this);
    mnudosyamenu->setObjectName(QStringLiteral("mnudosyamenu"));
    mnuGeriAl = mnudosyamenu->addAction(QStringLiteral("GERİ AL"));
    mnuGeriAl->setObjectName(QStringLiteral("mnuGeriAl"));
    mnuYinele = mnudosyamenu->addAction(QStringLiteral("YİNELE"));
    mnuYinele->setObjectName(QStringLiteral("mnuYinele"));
    mnudosyamenu->addSeparator();
    MnuYeniAltYazi = mnudosyamenu->addAction(QStringLiteral("YENİ ALTYAZI"));
    MnuYeniAltYazi->setObjectName(QStringLiteral("MnuYeniAltYazi"));
    mnudosyamenu->addSeparator();
    mnualtyaziac = mnudosyamenu->addAction(QStringLiteral("ALTYAZI AÇ"));
    mnualtyaziac->setObjectName(QStringLiteral("mnualtyaziac"));
    mnufilmac = mnudosyamenu->addAction(QStringLiteral("FİLM AÇ"));
    mnufilmac->setObjectName(QStringLiteral("mnufilmac"));
    mnudosyamenu->addSeparator();
    mnualtyazikaydet[2] = mnudosyamenu->addAction(QStringLiteral("KAYDET (Sub Viewer 2.x Dosyası)"));
    mnualtyazikaydet[2]->setObjectName(QStringLiteral("mnualtyazikaydet(2)"));
    mnualtyazikaydet[3] = mnudosyamenu->addAction(QStringLiteral("KAYDET (MicroDVD Dosyası)"));
    mnualtyazikaydet[3]->setObjectName(QStringLiteral("mnualtyazikaydet(3)"));
    mnualtyazikaydet[4] = mnudosyamenu->addAction(QStringLiteral("KAYDET (SubRip)"));
    mnualtyazikaydet[4]->setObjectName(QStringLiteral("mnualtyazikaydet(4)"));
    mnualtyazikaydet[5] = mnudosyamenu->addAction(QStringLiteral("KAYDET (WebVTT)"));
    mnualtyazikaydet[5]->setObjectName(QStringLiteral("mnualtyazikaydet(5)"));

    mnuoptions = new QMenu(QStringLiteral("mnuoptions"), this);
    mnuoptions->setObjectName(QStringLiteral("mnuoptions"));
    mnulanguage = mnuoptions->addMenu(QStringLiteral("LANGUAGE"));
    mnulanguage->setObjectName(QStringLiteral("mnulanguage"));
    for (int i = 0; i < 6; ++i) {
        mnulng[std::size_t(i)] = mnulanguage->addAction(QStringLiteral("--"));
        mnulng[std::size_t(i)]->setObjectName(QStringLiteral("mnulng(%1)").arg(i));
        mnulng[std::size_t(i)]->setCheckable(true);
        mnulng[std::size_t(i)]->setVisible(false);
    }
    mnusecenekler = mnuoptions->addAction(QStringLiteral("SEÇENEKLER"));
    mnusecenekler->setObjectName(QStringLiteral("mnusecenekler"));
}

void Form1::wireList()
{
    // The list view and the document share one selection; choosing a row by
    // mouse, arrow keys or Page Up/Down is choosing it in the document.
    auto choose = [this](int row) {
        if (syncingSelection_ || row < 0 || row == ws_.list.selected())
            return;
        syncingSelection_ = true;
        ws_.list.select(row);
        syncingSelection_ = false;
    };
    connect(Listview->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [choose](const QModelIndex &current) { choose(current.isValid() ? current.row() : -1); });
    // A screen reader selects a row without making it the current one: the
    // fields follow the selection too, so edits go to the highlighted row.
    connect(Listview->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, choose](const QItemSelection &selected) {
                if (selected.isEmpty())
                    return;
                // A highlight extended to the current row (Shift-click, Ctrl+A)
                // keeps it chosen; a row selected apart from it is chosen.
                const QModelIndex current = Listview->currentIndex();
                if (current.isValid() && selected.contains(current))
                    return;
                const int row = selected.indexes().first().row();
                choose(row);
                if (!syncingSelection_ && Listview->currentIndex().row() != row) {
                    syncingSelection_ = true;
                    Listview->selectionModel()->setCurrentIndex(model_.index(row, 0), QItemSelectionModel::NoUpdate);
                    syncingSelection_ = false;
                }
            });
    connect(&ws_.list, &SubtitleList::selectionChanged, this, [this](int row) {
        if (syncingSelection_ || !ws_.list.isValidRow(row))
            return;
        syncingSelection_ = true;
        const QModelIndex index = model_.index(row, 0);
        Listview->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        Listview->scrollTo(index);
        syncingSelection_ = false;
    });
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] {
        const int row = ws_.list.selected();
        if (ws_.list.isValidRow(row)) {
            syncingSelection_ = true;
            Listview->selectionModel()->setCurrentIndex(
                model_.index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            syncingSelection_ = false;
        }
    });
    Listview->installEventFilter(this);
}

void Form1::wireFields()
{
    for (int i = 0; i < EditFields::kCount; ++i) {
        QLineEdit *field = Text1[std::size_t(i)];
        field->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        field->setText(ws_.fields.text(i));
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i](const QString &text) { ws_.fields.setText(i, text); });
    }
    connect(&ws_.fields, &EditFields::textChanged, this, [this](int index, const QString &text) {
        QLineEdit *field = Text1[std::size_t(index)];
        if (field->text() != text)
            field->setText(text);
    });
    connect(&ws_.fields, &EditFields::durationChanged, LblUzunluk, &QLabel::setText);
}

void Form1::wireDocumentCommands()
{
    connect(mnualtyaziac, &QAction::triggered, this, [this] { mnualtyaziac_Click(ws_); });
    for (SaveFormat format : {SaveFormat::SubViewer, SaveFormat::MicroDvd, SaveFormat::SubRip, SaveFormat::WebVtt})
        connect(mnualtyazikaydet[std::size_t(format)], &QAction::triggered, this,
                [this, format] { mnualtyazikaydet_Click(ws_, format); });
    connect(CmdHataKontrolu, &QPushButton::clicked, this, [this] { CmdHataKontrolu_Click(ws_); });
    connect(HataCheck1, &QCheckBox::toggled, this, [this](bool on) { ws_.hataCheck1 = on; });
    connect(HataCheck2, &QCheckBox::toggled, this, [this](bool on) { ws_.hataCheck2 = on; });
    connect(&ws_, &Workspace::helpButtonEnabled, this, [this] { Cubuk2Buttons[2]->setEnabled(true); });
}

void Form1::setStatusHint(const QString &key)
{
    statusHintKey_ = key;
    durumPanel_->setText(key.isEmpty() ? QString() : ws_.language.LangMessage(key));
}

void Form1::applyOwnTexts()
{
    // Names a screen reader announces; the time fields share the list's
    // column headers, which the language file sets.
    Listview->setAccessibleName(ws_.language.LangText(msg::NameSubtitleList));
    const QString start = model_.header(ColStart), end = model_.header(ColEnd);
    Text1[EditFields::Start]->setAccessibleName(start.isEmpty() ? QStringLiteral("BAŞLANGIÇ") : start);
    Text1[EditFields::End]->setAccessibleName(end.isEmpty() ? QStringLiteral("BİTİŞ") : end);
    LblUzunluk->setAccessibleName(ws_.language.LangText(msg::NameDuration));
    Command1[0]->setAccessibleName(ws_.language.LangText(msg::NameSkipBack));
    Command1[1]->setAccessibleName(ws_.language.LangText(msg::NameSkipForward));
    Text1[EditFields::SkipStep]->setAccessibleName(ws_.language.LangText(msg::NameSkipStep));
    ListView1->setAccessibleName(ws_.language.LangText(msg::NameAviDetails));
    nameFilmControls();
    showHistoryItems();
    showReadingTexts();
    showSpeechTexts();
    showSoundTexts();
    // The status bar speaks the new language at once.
    setStatusHint(statusHintKey_);
    showScrollLock();
    showRecoveryState();
}

QString Form1::statusHint() const
{
    return durumPanel_->text();
}

void Form1::Sekme_Click()
{
    for (QWidget *panel : Frame2)
        panel->hide();
    const int k = Sekme->currentIndex();
    if (k >= 0 && k < 4)
        Frame2[std::size_t(k)]->show();
}

void Form1::Cubuk2_ButtonClick(int position)
{
    if (position == 1 || position == 2) {
        QMenu *menu = position == 1 ? mnudosyamenu : mnuoptions;
        auto *button = qobject_cast<QToolButton *>(Cubuk2->widgetForAction(Cubuk2Buttons[std::size_t(position - 1)]));
        const QPoint below = Frame6->mapTo(this, QPoint(button ? button->x() : 0, Frame6->height() - 3));
        if (button)
            button->setDown(true);
        menu->exec(mapToGlobal(below));
        if (button)
            button->setDown(false);
    } else if (position == 3) {
        StartHelpTour();
    } else if (position == 4) {
        ShowAboutWindow(this);
    } else if (position == 5) {
        close();
    }
}

int Form1::text1Index(QObject *object) const
{
    for (int i = 0; i < EditFields::kCount; ++i) {
        if (Text1[std::size_t(i)] == object)
            return i;
    }
    return -1;
}

void Form1::Text1_GotFocus(int index)
{
    QLineEdit *field = Text1[std::size_t(index)];
    // The dictionary loads when the user first comes to write.
    if (index >= EditFields::Line1 && index <= EditFields::Line3)
        ws_.spelling.followDocument();
    if (index <= EditFields::Line3)
        setStatusHint(msg::FieldsHint);
    if (index == EditFields::Search)
        field->selectAll();
    QPalette pal = field->palette();
    pal.setColor(QPalette::Base, QColor(255, 255, 193));
    pal.setColor(QPalette::Text, palette().color(QPalette::WindowText));
    field->setPalette(pal);
}

void Form1::Text1_LostFocus(int index)
{
    QLineEdit *field = Text1[std::size_t(index)];
    setStatusHint(QString());
    field->setPalette(QPalette());
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    for (int i = 0; i < 2; ++i) {
        if (watched == Command1[std::size_t(i)]
            && (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter
                || event->type() == QEvent::ToolTip))
            Command1_MouseMove(i);
    }
    if (watched == Listview) {
        if (event->type() == QEvent::FocusIn)
            setStatusHint(msg::ListHint);
        else if (event->type() == QEvent::FocusOut)
            setStatusHint(QString());
        return QWidget::eventFilter(watched, event);
    }
    const int index = text1Index(watched);
    if (index >= 0) {
        switch (event->type()) {
        case QEvent::FocusIn:
            Text1_GotFocus(index);
            if (index == EditFields::Search)
                QMetaObject::invokeMethod(Text1[EditFields::Search], &QLineEdit::selectAll, Qt::QueuedConnection);
            break;
        case QEvent::FocusOut:
            Text1_LostFocus(index);
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Up)
                ws_.fields.Text1_KeyDown(index, 38);
            else if (key == Qt::Key_Down)
                ws_.fields.Text1_KeyDown(index, 40);
            break;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace korv
