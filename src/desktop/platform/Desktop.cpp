// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Desktop.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <pwd.h>
#include <unistd.h>

namespace {

QtDesktop& qtDesktop() {
    static QtDesktop d;
    return d;
}

Desktop* gDesktop = nullptr;

QWidget* activeParent() { return QApplication::activeWindow(); }

} // namespace

Desktop& desktop() { return gDesktop ? *gDesktop : qtDesktop(); }
void setDesktop(Desktop* d) { gDesktop = d; }

DesktopScope::DesktopScope(Desktop* d) : previous_(gDesktop) { gDesktop = d; }
DesktopScope::~DesktopScope() { gDesktop = previous_; }

MsgResult showMessage(const QString& caption, const QString& text, MsgIcon icon,
                      unsigned buttons) {
    return desktop().message(Message{caption.toStdString(), text.toStdString(), icon, buttons});
}

void fitMessageText(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label) return;
    const QFontMetrics fm(label->font());
    int widest = 0;
    for (const QString& line : box.text().split('\n'))
        widest = std::max(widest, fm.horizontalAdvance(line));
    const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    const int limit = screen ? screen->availableGeometry().width() * 4 / 5 : 800;
    label->setMinimumWidth(std::min(widest + fm.averageCharWidth(), limit));
}

MsgResult QtDesktop::message(const Message& m) {
    QMessageBox box(activeParent());
    box.setWindowTitle(QString::fromStdString(m.caption));
    box.setText(QString::fromStdString(m.text));
    box.setTextFormat(Qt::PlainText);
    switch (m.icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Error:
    case MsgIcon::Stop: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    static const struct {
        unsigned bit;
        QMessageBox::StandardButton qt;
        MsgResult result;
    } map[] = {{BtnOk, QMessageBox::Ok, MsgResult::Ok},
               {BtnYes, QMessageBox::Yes, MsgResult::Yes},
               {BtnNo, QMessageBox::No, MsgResult::No},
               {BtnCancel, QMessageBox::Cancel, MsgResult::Cancel},
               {BtnAbort, QMessageBox::Abort, MsgResult::Abort},
               {BtnRetry, QMessageBox::Retry, MsgResult::Retry},
               {BtnIgnore, QMessageBox::Ignore, MsgResult::Ignore}};
    QMessageBox::StandardButtons buttons;
    for (const auto& b : map)
        if (m.buttons & b.bit) buttons |= b.qt;
    if (!buttons) buttons = QMessageBox::Ok;
    box.setStandardButtons(buttons);
    fitMessageText(box);
    const int pressed = box.exec();
    for (const auto& b : map)
        if (pressed == b.qt) return b.result;
    // Closed with Escape or the title bar: the platform's Cancel (or No, or OK).
    if (m.buttons & BtnCancel) return MsgResult::Cancel;
    if (m.buttons & BtnNo) return MsgResult::No;
    return MsgResult::Ok;
}

int QtDesktop::execDialog(QDialog& dialog) { return dialog.exec(); }

QString QtDesktop::chooseFolder(const QString& caption, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(activeParent(), caption, startFolder);
}

QString filterSuffix(const QString& filter) {
    const qsizetype at = filter.lastIndexOf(QStringLiteral("(*."));
    if (at < 0 || !filter.endsWith(')')) return {};
    const QString suffix = filter.mid(at + 3, filter.size() - at - 4);
    return suffix.contains(QRegularExpression(QStringLiteral("[^A-Za-z0-9]"))) ? QString() : suffix;
}

QString completedFileName(const QString& folder, const QString& typed, const QString& suffix) {
    QString path = QDir(folder).filePath(typed);
    if (!suffix.isEmpty() && !QFileInfo(path).fileName().contains('.') && !QFileInfo(path).isDir())
        path += '.' + suffix;
    return path;
}

namespace {

// One chooser for opening and saving: the filters in the program's order
// with the chosen one selected, and the default suffix following the filter
// the user picks.
QString chooseFile(const FileChoice& c, QFileDialog::AcceptMode mode) {
    QFileDialog dlg(activeParent(), c.caption, c.folder, c.filter);
    dlg.setAcceptMode(mode);
    dlg.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                    : QFileDialog::ExistingFile);
    if (!c.selectedFilter.isEmpty()) dlg.selectNameFilter(c.selectedFilter);
    if (!c.defaultSuffix.isEmpty()) dlg.setDefaultSuffix(c.defaultSuffix);
    QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, [&dlg](const QString& filter) {
        if (const QString suffix = filterSuffix(filter); !suffix.isEmpty())
            dlg.setDefaultSuffix(suffix);
    });
    if (!c.fileName.isEmpty()) dlg.selectFile(c.fileName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return dlg.selectedFiles().first();
}

} // namespace

QString QtDesktop::chooseOpenFile(const FileChoice& c) {
    return chooseFile(c, QFileDialog::AcceptOpen);
}

QString QtDesktop::chooseSaveFile(const FileChoice& c) {
    return chooseFile(c, QFileDialog::AcceptSave);
}

namespace {

// A surface owning the printer it paints on.
class PrinterSurface : public PainterPrintSurface {
public:
    explicit PrinterSurface(std::unique_ptr<QPrinter> printer)
        : PainterPrintSurface(printer.get()), printer_(std::move(printer)) {}
    ~PrinterSurface() override { endDocument(); }

private:
    std::unique_ptr<QPrinter> printer_;
};

QPrinter& sharedPrinter() {
    // One printer set-up for the whole run, like the program's shared printer dialog.
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

} // namespace

std::unique_ptr<PrintSurface> QtDesktop::beginPrint(const PrintRequest& request) {
    QPrinter& shared = sharedPrinter();
    shared.setPageOrientation(request.orientation);
    QPrintDialog dlg(&shared, activeParent());
    if (dlg.exec() != QDialog::Accepted) return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPrinterName(shared.printerName());
    printer->setOutputFormat(shared.outputFormat());
    printer->setOutputFileName(shared.outputFileName());
    printer->setPageLayout(shared.pageLayout());
    printer->setCopyCount(shared.copyCount());
    printer->setDocName(request.title);
    return begunOrReported(std::make_unique<PrinterSurface>(std::move(printer)));
}

void Desktop::beep() {
    QApplication::beep();
}

void QtDesktop::popupMenu(QMenu& menu, const QPoint& at) { menu.exec(at); }

QString QtDesktop::userName() {
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

QString QtDesktop::homeFolder() { return QDir::homePath(); }

QString QtDesktop::cdromMountPoint() {
    QFile f(QStringLiteral("/proc/mounts"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return cdromMountPointFromMounts(QString::fromLocal8Bit(f.readAll()));
}

QString cdromMountPointFromMounts(const QString& mountsText) {
    for (const QString& line : mountsText.split('\n')) {
        const QStringList f = line.split(' ', Qt::SkipEmptyParts);
        if (f.size() < 3) continue;
        if (f[2] != QLatin1String("iso9660") && f[2] != QLatin1String("udf")) continue;
        // /proc/mounts escapes blanks and other characters as \ooo.
        QByteArray raw = f[1].toLocal8Bit(), path;
        for (int i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\\' && i + 3 < raw.size()) {
                bool ok = false;
                const int v = raw.mid(i + 1, 3).toInt(&ok, 8);
                if (ok) {
                    path += char(v);
                    i += 3;
                    continue;
                }
            }
            path += raw[i];
        }
        QString mp = QString::fromLocal8Bit(path);
        if (!mp.endsWith('/')) mp += '/';
        return mp;
    }
    return {};
}

MsgResult DesktopReporter::show(const Message& m) { return desktop().message(m); }
