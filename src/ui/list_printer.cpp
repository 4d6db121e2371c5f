#include "ui/list_printer.h"

#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

namespace valmerin {
namespace {

// Blank lines kept between the last text line and the page number.
constexpr int kFooterLines = 2;

// Paper printers cannot print to the edge, and a PDF reads better with a border:
// margins the user chose in the printer dialog are kept when they are wider.
void KeepReadableMargins(QPrinter& printer) {
  constexpr qreal kMinimumMillimetres = 15;
  const QMarginsF chosen = printer.pageLayout().margins(QPageLayout::Millimeter);
  const QMarginsF margins(std::max(chosen.left(), kMinimumMillimetres),
                          std::max(chosen.top(), kMinimumMillimetres),
                          std::max(chosen.right(), kMinimumMillimetres),
                          std::max(chosen.bottom(), kMinimumMillimetres));
  if (margins != chosen) printer.setPageMargins(margins, QPageLayout::Millimeter);
}

// What the system says about a file the PDF could not be written to.
QString FileFailure(const QString& path) {
  const bool existed = QFile::exists(path);
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite)) return file.errorString();
  file.close();
  if (!existed) file.remove();
  return QStringLiteral("il file non ha accettato le pagine");
}

QString PrinterFailure(const QPrinter& printer) {
  const QPrinterInfo info = QPrinterInfo::printerInfo(printer.printerName());
  if (info.isNull()) return QStringLiteral("la stampante non \u00e8 pi\u00f9 installata");
  switch (info.state()) {
    case QPrinter::Error:
      return QStringLiteral("il sistema di stampa segnala un errore della stampante");
    case QPrinter::Aborted:
      return QStringLiteral("il sistema di stampa ha interrotto il lavoro");
    default:
      return QStringLiteral("il sistema di stampa non ha accettato il lavoro");
  }
}

QRect PrintableRect(QPrinter& printer) {
  KeepReadableMargins(printer);
  return printer.pageLayout().paintRectPixels(printer.resolution());
}

}  // namespace

bool HasDestination(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat) return !printer.outputFileName().isEmpty();
  return !printer.printerName().isEmpty();
}

QString PrintFailure(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    return QStringLiteral("Impossibile scrivere il file PDF \"%1\": %2.")
        .arg(printer.outputFileName(), FileFailure(printer.outputFileName()));
  }
  return QStringLiteral("Impossibile stampare sulla stampante \"%1\": %2.")
      .arg(printer.printerName(), PrinterFailure(printer));
}

std::vector<std::string> LinesToPrint(const GameLists& lists, std::optional<Emulator> only) {
  if (only) return PrintLinesFor(*only, lists[static_cast<std::size_t>(IndexOf(*only))]);
  std::vector<std::string> lines;
  for (Emulator e : kTabOrder) {
    if (!lines.empty()) lines.emplace_back();
    auto block = PrintLinesFor(e, lists[static_cast<std::size_t>(IndexOf(e))]);
    lines.insert(lines.end(), block.begin(), block.end());
  }
  return lines;
}

QFont PrintFont() {
  QFont font(QStringLiteral("Courier New"), 10);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return font;
}

int LinesPerPage(QPrinter& printer) {
  QFontMetrics metrics(PrintFont(), &printer);
  const int usable = PrintableRect(printer).height() - kFooterLines * metrics.lineSpacing();
  return std::max(1, usable / std::max(1, metrics.lineSpacing()));
}

std::optional<int> PrintLines(QPrinter& printer, const std::vector<std::string>& lines) {
  const auto pages = Paginate(lines, LinesPerPage(printer));
  QPainter painter;
  if (!painter.begin(&printer)) return std::nullopt;
  const QFont font = PrintFont();
  painter.setFont(font);
  QFontMetrics metrics(font, &printer);
  // The painter's origin is the printable area's top left corner.
  const QRect area(QPoint(0, 0), PrintableRect(printer).size());
  const int step = metrics.lineSpacing();
  for (std::size_t n = 0; n < pages.size(); ++n) {
    if (n > 0 && !printer.newPage()) {
      painter.end();
      return std::nullopt;
    }
    int y = metrics.ascent();
    for (const std::string& line : pages[n]) {
      painter.drawText(
          0, y, metrics.elidedText(QString::fromStdString(line), Qt::ElideRight, area.width()));
      y += step;
    }
    painter.drawText(QRect(0, area.bottom() - step, area.width(), step), Qt::AlignCenter,
                     QStringLiteral("Pagina %1").arg(n + 1));
  }
  return painter.end() ? std::optional<int>(static_cast<int>(pages.size())) : std::nullopt;
}

}  // namespace valmerin
