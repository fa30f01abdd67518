#include "locale/BuiltInTexts.h"

namespace korv {

namespace {

struct BuiltIn {
    const char *key;
    const char *text;
};

// The texts added after the first twenty, in Turkish, the program's own
// language. The shipped language files hold them too.
constexpr BuiltIn kBuiltIn[] = {
    {"021", "Altyazıda kaydedilmemiş değişiklikler var. Önce kaydetmek ister misiniz? (Evet: kaydet, Hayır: "
            "kaydetmeden devam et, İptal: vazgeç)"},
    {"022", "SCROLL LOCK: AÇIK"},
    {"023", "SCROLL LOCK: KAPALI"},
    {"024", "Film oynatılamıyor: %1"},
    {"025", "Bu bir dosya değil (bir klasör, bir aygıt ya da adlandırılmış bir boru); açılmadı."},
    {"026", "Satır %1: \"%2\" bir zaman satırı değil (ss:dd:ss.cc,ss:dd:ss.cc)."},
    {"027", "Satır %1: dosya, altyazının metin satırından önce bitiyor."},
    {"028", "Satır %1: satır %2 karakter uzunluğunda; bir altyazı satırı en çok %3 karakter olabilir. Bu bir "
            "altyazı dosyasına benzemiyor."},
    {"029", "Satır %1: \"%2\" satırında başlangıç karesi yok."},
    {"030", "Satır %1: \"%2\" satırında bitiş karesi yok."},
    {"031", "%1 kare hızıyla kareler saniyeye çevrilemez."},
    {"032", "Satır %1: kare numarası çok büyük."},
    {"033", "Satır %1: başlangıç zamanı \"%2\" bir sayı değil."},
    {"034", "Satır %1: bitiş zamanı \"%2\" bir sayı değil."},
    {"035", "Satır %1: başlangıç zamanı %2 filmin başından önce; bir altyazı dosyası bunu tutamaz. Altyazıları "
            "kaydırıp yeniden kaydedin; hiçbir şey yazılmadı."},
    {"036", "Satır %1: bitiş zamanı %2 filmin başından önce; bir altyazı dosyası bunu tutamaz. Altyazıları "
            "kaydırıp yeniden kaydedin; hiçbir şey yazılmadı."},
    {"037", "Satır %1: %2 saniye saat biçiminde yazılamaz; ss:dd:ss,cc en çok 09:59:59,99 olabilir. Hiçbir şey "
            "yazılmadı."},
    {"038", "Satır %1: %2 zamanının saniyede %3 karede bir MicroDVD karesi yok; kare numarası en çok %4 olabilir. "
            "Hiçbir şey yazılmadı."},
    {"039", "Satır %1 \"%2\" (U+%3) karakterini içeriyor; Windows-1254 (Türkçe) bir dosya bu karakteri tutamaz. "
            "Değiştirip yeniden kaydedin; hiçbir şey yazılmadı."},
    {"040", "Dosya %1 MB'tan büyük; bir altyazı dosyası bundan çok küçüktür (100.000 altyazı yaklaşık 8 MB tutar), "
            "yani bu bir altyazı dosyası değil. Hiçbir şey okunmadı."},
    {"041", "Bu klasöre yazılamıyor: kayıt için geçici dosya oluşturulamadı (%1). Dosya olduğu gibi duruyor."},
    {"042", "Film okunamıyor."},
    // Names a screen reader announces for controls without a caption.
    {"043", "Altyazı listesi"},
    {"044", "Süre"},
    {"045", "Geri"},
    {"046", "İleri"},
    {"047", "Atlama (saniye)"},
    {"048", "AVI bilgileri"},
    {"049", "OYNAT / DURAKLAT"},
    {"050", "Satır %1: \"%2\" bir SubRip zaman satırı değil (ss:dd:ss,mmm --> ss:dd:ss,mmm)."},
    {"051", "Satır %1: \"%2\" bir WebVTT zaman satırı değil (ss:dd:ss.mmm --> ss:dd:ss.mmm; saat yazılmayabilir)."},
    {"052", "Bu WebVTT dosyasının bazı bölümlerinin (altyazı kimlikleri, altyazı ayarları, NOTE, STYLE ve REGION "
            "blokları) altyazı listesinde yeri yok; bunlar kaydedilmeyecek."},
    {"053", "Dosya \"WEBVTT\" ile başlamıyor, yani bir WebVTT dosyası değil (ilk satırı: \"%1\"). Hiçbir şey "
            "okunmadı."},
    {"054", "Satır %1: %2 saniye, saat biçiminde (ss:dd:ss,mmm) yazılamayacak kadar büyük. Hiçbir şey yazılmadı."},
    {"055", "Bazı altyazıların metninde boş satırlar vardı (ilki: satır %1). Bir altyazı boş satır tutamaz; "
            "bu yüzden boş satırlar atlandı, metnin geri kalanı korundu."},
    {"056", "Satır %1 (belki başkaları da) metninde \"|\" karakteri var. Bu program onu satır sonu sayar: "
            "kaydedince satır sonu olarak yazılacak."},
    {"057", "Satır %1 (belki başkaları da) zamanlarından sonra bir konum taşıyor (X1:… Y2:…). Altyazı "
            "listesinde onun yeri yok; kaydedilmeyecek."},
    {"058", "Şu satırlarda UTF-8 karakteri olmayan baytlar var: %1. Her birinin yerine bir değiştirme "
            "işareti (eşkenar dörtgen içinde soru işareti) kondu ve kaydedince o işaret kalır: kaydetmeden "
            "önce bu satırları düzeltin."},
    {"059", "Satır %1: \"%2\" satırında saat olamayacak bir zaman var (dakika ve saniye en çok 59 olur, "
            "milisaniyenin üç basamağı vardır)."},
    {"060", "Film konumu"},
    {"061", "Mesaj"},
    {"062", "Uyarı resmi"},
    {"063", "Sayısal tuş takımı"},
    {"064", "Yardım sayfası"},
    {"065", "Dil dosyasındaki \"%1\" anahtarının \"%2\" penceresinde karşılığı yok."},
    {"066", "GERİ AL"},
    {"067", "YİNELE"},
    {"068", "DÜZENLEME"},
    {"069", "SATIR EKLE"},
    {"070", "SATIR SİL"},
    {"071", "SİLİNEN SATIRI GERİ GETİRME"},
    {"072", "ZAMAN KAYDIRMA"},
    {"073", "DENETİM VE ONARIM"},
    {"074", "YENİ ALTYAZI"},
    {"075", "BAŞLANGIÇ ZAMANI"},
    {"076", "BİTİŞ ZAMANI"},
    {"077", "SÜREYİ UZATMA"},
    {"078", "SÜREYİ KISALTMA"},
    {"079", "Program, çalışmanız kaydedilmeden kapandı (%1, saat %2): %3, %4 satır. Geri yüklensin mi? (Evet: geri yükle, Hayır: kopyayı sil, İptal: bir sonraki açılışta yeniden sor)"},
    {"080", "adsız belge"},
    {"081", "Bir kurtarma kopyası okunamadı. Silinmedi; şurada duruyor: %1"},
    {"082", "Bu altyazı başlamadan önce bitiyor."},
    {"083", "Bu altyazı, üstündeki altyazıdan önce başlıyor: satırlar zaman sırasında değil."},
    {"084", "Satırlar zaman sırasında değil: satır %1, üstündeki satırdan önce başlıyor. Onarımdan önce "
            "satırlar başlangıç zamanlarına göre sıralansın mı? (Evet: sırala ve onar, Hayır: denetimi "
            "durdur)"},
    // The question windows' buttons and the edit fields' context menu.
    {"090", "Evet"},
    {"091", "Hayır"},
    {"092", "İptal"},
    {"093", "Tamam"},
    {"094", "Kes"},
    {"095", "Kopyala"},
    {"096", "Yapıştır"},
    {"097", "Sil"},
    {"098", "Tümünü Seç"},
    // Recovery copies that cannot be kept.
    {"270", "Kurtarma kopyaları tutulamıyor: %1 klasörüne yazılamıyor. Program kaydetmeden kapanırsa kaydedilmemiş değişiklikler geri getirilemez."},
    {"271", "KURTARMA KOPYASI YOK"},
    // Laying times on the voice: the fit stopped, and the shortcut table's line of its keys.
    {"272", "Altyazıları filmin sesine uydurma durduruldu; hiçbir şey değişmedi."},
    {"273", "F9 : Seçili satırları konuşmaya OTURT  ·  Dosya menüsü : Bütün altyazıyı filmin sesine UYDUR"},
    // The reading checks and the spelling.
    {"190", "KR/SN"},
    {"191", "Okuma hızı (saniyede karakter)"},
    {"192", "Satır %1 uzunluğu"},
    {"193", "Okuma hızı"},
    {"194", "Satır uzunluğu"},
    {"195", "Satır sayısı"},
    {"196", "En kısa süre"},
    {"197", "En uzun süre"},
    {"198", "Sonrakiyle ara"},
    {"199", "Boş altyazı"},
    {"200", "Yazım"},
    {"201", "Okuma hızı saniyede %1 karakter; en çok %2."},
    {"202", "Satır %1: %2 karakter; en çok %3."},
    {"203", "%1 satır; en çok %2."},
    {"204", "Süre %1 sn; en az %2 sn."},
    {"205", "Süre %1 sn; en çok %2 sn."},
    {"206", "Sonraki altyazıyla arası %1 kare; en az %2 kare."},
    {"207", "Sonraki altyazıyla arası %1 ms; en az %2 ms."},
    {"208", "Altyazıda gösterilecek bir şey yok."},
    {"209", "\"%1\" sözlükte yok."},
    {"210", "Okunabilirlik ya da yazım sorunu bulunmadı."},
    {"211", "%1 düzeltme yapıldı; %2 sorun kaldı."},
    {"212", "Yazım denetleniyor: %1 / %2 satır"},
    {"213", "Yazım denetimi durduruldu (%1 / %2 satır)."},
    {"214", "\"%1\" sözlüğü kurulu değil; yazım denetlenmiyor."},
    {"215", "Sözlüğünüz bozuk: %2. satırdan başlayarak %3 satır okunamadı. Okunabilen sözcüklerle denetim sürüyor. "
            "Dosya: %1"},
    {"216", "Sözcük sözlüğünüze eklenemedi (%2). Dosya: %1"},
    {"217", "Sözlüğüme ekle"},
    {"218", "Yok say"},
    {"219", "(öneri yok)"},
    {"220", "YAZIM DENETİMİ"},
    {"221", "Yok (yazım denetlenmesin)"},
    {"222", "DÜZELTME"},
    {"223", "TÜMÜNÜ DÜZELTME"},
    {"224", "Okunabilirlik sınırları sayı olmalı (0 kuralı kapatır): %1"},
    {"225", "%1 sorun"},
    {"226", "Sözlük yükleniyor: %1"},
    {"227", "Sözlüğünüz okunamadı (%2). Dosya: %1"},
    {"228", "bitiş %1 olur"},
    // A film's description, its rows and the audio-track menu.
    {"100", "Film okunamıyor: %1"},
    {"101", "Bu dosyada ne görüntü ne ses var; bir film değil."},
    {"102", "Bu dosyada ses var ama görüntü yok; altyazıların altında gösterilecek bir resim ve bir kare hızı yok."},
    {"103", "Filmin görüntüsü %1 noktasında bitiyor, oysa başlığında süresi %2 yazıyor: dosya yarıda kesilmiş görünüyor."},
    {"104", "KAPSAYICI :"},
    {"105", "VİDEO KODEKİ :"},
    {"106", "ÇÖZÜNÜRLÜK :"},
    {"107", "KARE HIZI :"},
    {"108", "TOPLAM KARE :"},
    {"109", "SÜRE :"},
    {"110", "SES İZİ %1 :"},
    {"111", "değişken, ortalama %1"},
    {"112", "%1, %2 kanal, %3 Hz"},
    {"113", "yaklaşık %1"},
    {"274", "FFmpeg kitaplıkları yüklenemiyor (%1); bu yüzden hiçbir film tanımlanamıyor, hiçbir filmin sesi "
            "çözümlenemiyor. Programı yeniden kurmak onları geri getirir."},
    {"114", "SES İZİ"},
    // Laying times on the voice.
    {"160", "Filmin sesinde konuşma henüz bilinmiyor: sesli bir film açın ve sesinin çözümlenmesini bekleyin. "
            "Hiçbir şey değişmedi."},
    {"161", "Sese oturtma bitti: %1 başlangıç ve %2 bitiş konuşmanın kenarına taşındı; %3 başlangıcın ve %4 "
            "bitişin yakınında konuşma yoktu; %5 zaman en az ara ve en kısa süre kuralları yüzünden yerinde kaldı."},
    {"162", "%1 sn, %2 kare/sn: uygulansın mı?"},
    {"163", "%1 sn: uygulansın mı?"},
    {"164", "Altyazılar filmin konuşmasına oturtulamadı: ±10 dakika içindeki hiçbir kaydırma ve hiçbir kare hızı "
            "değişikliği satırların beşte ikisini konuşmanın kenarına getirmiyor. Hiçbir şey değişmedi."},
    {"165", "Altyazılar zaten filmin konuşmasına oturuyor; değiştirilecek bir şey yok."},
    {"166", "Altyazılar filmin sesine uyduruluyor…"},
    {"167", "SESE OTURTMA"},
    {"168", "FİLME UYDURMA"},
    {"169", "SATIRLARI SESE OTURT"},
    {"170", "ALTYAZIYI FİLMİN SESİNE UYDUR"},
    {"171", "Sese oturtmanın en az arası 0 ile 1000 arasında tam bir kare sayısı, en kısa süresi 0 ile 60 "
            "arasında bir saniye sayısı olmalı: %1"},
    {"130", "SES DALGASI"},
    {"131", "%%1"},
    {"132", "HAZIR"},
    {"133", "FİLM AÇILMADI"},
    {"134", "Filmde ses izi yok"},
    {"135", "Filmin sesi çözülemiyor"},
    {"136", "Filmin sesi yarıda kesiliyor; dalga kesildiği yere kadar"},
    {"137", "Film dosyası okunamıyor"},
    {"138", "Ses dalgası çizilemedi: %1"},
    {"139", "SES DALGASI %1"},
    {"140", "BAŞLANGICI SÜRÜKLEME"},
    {"141", "BİTİŞİ SÜRÜKLEME"},
    {"142", "SATIRI TAŞIMA"},
};

} // namespace

QString builtInText(const QString &key)
{
    for (const BuiltIn &b : kBuiltIn) {
        if (key == QLatin1String(b.key))
            return QString::fromUtf8(b.text);
    }
    return QString();
}

QStringList builtInKeys()
{
    QStringList keys;
    for (const BuiltIn &b : kBuiltIn)
        keys << QString::fromLatin1(b.key);
    return keys;
}

} // namespace korv
