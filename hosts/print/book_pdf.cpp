#include "hosts/print/book_pdf.h"

#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "platform/qr/qr_code.h"

namespace print {

namespace {

// The page is drawn in tenths of a millimetre: 254 dots an inch.
constexpr int kDotsPerInch = 254;
constexpr double kPageWidth = 2100;
constexpr double kPageHeight = 2970;
constexpr double kMargin = 100;
constexpr double kTicketWidth = (kPageWidth - 2 * kMargin) / kStripsPerPage;
constexpr double kTicketHeight = (kPageHeight - 2 * kMargin) / tickets::kTicketsPerStrip;
constexpr double kPadding = 40;
constexpr double kHeaderHeight = 60;
constexpr double kCellWidth = 72;
constexpr double kCellHeight = 100;
// The code's modules alone: the white round it is the page, more than the 4 modules a reader needs.
constexpr double kQrSide = 200;

// Text drawing needs a Qt GUI application; a printing run makes its own on the offscreen platform.
void ensureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's notices about the desktop session (no runtime directory, no session bus) mean nothing to
  // someone printing tickets; only its errors are passed on.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
      std::fprintf(stderr, "%s\n", qPrintable(message));
    }
  });
  static int argc = 1;
  static char name[] = "vorlix-caller";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
}

void drawQrCode(QPainter& painter, const QRectF& area, const platform::QrCode& code) {
  const double module = area.width() / code.size();
  const QPointF origin = area.topLeft();
  QPainterPath dark;
  // One rectangle for each run of dark modules in a row keeps the file small.
  for (int row = 0; row < code.size(); ++row) {
    for (int column = 0; column < code.size();) {
      if (!code.dark(row, column)) {
        ++column;
        continue;
      }
      int end = column;
      while (end < code.size() && code.dark(row, end)) ++end;
      dark.addRect(QRectF(origin.x() + column * module, origin.y() + row * module,
                          (end - column) * module, module));
      column = end;
    }
  }
  painter.fillPath(dark, Qt::black);
}

class PageDrawer {
 public:
  explicit PageDrawer(QPainter& painter) : painter_(painter) {
    venueFont_.setFamily("DejaVu Sans");
    venueFont_.setPixelSize(34);
    serialFont_ = venueFont_;
    serialFont_.setBold(true);
    serialFont_.setPixelSize(40);
    numberFont_ = serialFont_;
    numberFont_.setPixelSize(40);
  }

  // Round the strips on the page only: a last page with one strip leaves the other half blank.
  void drawCutLines(int strips) {
    painter_.setPen(QPen(QColor(140, 140, 140), 3, Qt::DashLine));
    const double right = kMargin + strips * kTicketWidth;
    for (int column = 0; column <= strips; ++column) {
      const double x = kMargin + column * kTicketWidth;
      painter_.drawLine(QPointF(x, kMargin), QPointF(x, kPageHeight - kMargin));
    }
    for (int row = 0; row <= tickets::kTicketsPerStrip; ++row) {
      const double y = kMargin + row * kTicketHeight;
      painter_.drawLine(QPointF(kMargin, y), QPointF(right, y));
    }
  }

  void drawTicket(const tickets::Ticket& ticket, int stripOnPage, int place) {
    const QPointF corner(kMargin + stripOnPage * kTicketWidth + kPadding,
                         kMargin + place * kTicketHeight + kPadding);
    const QString serial = QString::number(ticket.serial);
    painter_.setPen(Qt::black);
    painter_.setFont(venueFont_);
    const QRectF header(corner, QSizeF(kTicketWidth - 2 * kPadding, kHeaderHeight));
    painter_.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, kVenue);
    painter_.setFont(serialFont_);
    painter_.drawText(header, Qt::AlignRight | Qt::AlignVCenter, "No. " + serial);
    const QPointF gridCorner = corner + QPointF(0, kHeaderHeight + 10);
    drawGrid(ticket.grid, gridCorner);
    const double gridHeight = tickets::kRows * kCellHeight;
    const QRectF qrArea(kMargin + (stripOnPage + 1) * kTicketWidth - kQrSide - 20,
                        gridCorner.y() + (gridHeight - kQrSide) / 2, kQrSide, kQrSide);
    drawQrCode(painter_, qrArea, platform::QrCode::encode(serial.toStdString()));
  }

 private:
  void drawGrid(const tickets::Grid& grid, QPointF corner) {
    painter_.setFont(numberFont_);
    for (int row = 0; row < tickets::kRows; ++row) {
      for (int column = 0; column < tickets::kColumns; ++column) {
        const QRectF cell(corner.x() + column * kCellWidth, corner.y() + row * kCellHeight,
                          kCellWidth, kCellHeight);
        const int number = grid[row][column];
        painter_.fillRect(cell, number == 0 ? QColor(214, 228, 240) : QColor(Qt::white));
        painter_.setPen(QPen(Qt::black, 3));
        painter_.drawRect(cell);
        if (number != 0) painter_.drawText(cell, Qt::AlignCenter, QString::number(number));
      }
    }
  }

  QPainter& painter_;
  QFont venueFont_;
  QFont serialFont_;
  QFont numberFont_;
};

}  // namespace

int pageCount(const tickets::Book& book) {
  constexpr std::size_t perPage = kStripsPerPage * tickets::kTicketsPerStrip;
  return static_cast<int>((book.tickets.size() + perPage - 1) / perPage);
}

void writeBookPdf(const tickets::Book& book, const std::filesystem::path& path) {
  ensureGuiApplication();
  QPdfWriter writer(QString::fromStdString(path.string()));
  writer.setResolution(kDotsPerInch);
  writer.setPageLayout(
      QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  writer.setTitle("Tickets");
  writer.setCreator(kVenue);
  QPainter painter;
  if (!painter.begin(&writer)) throw std::runtime_error("cannot write " + path.string());
  PageDrawer drawer(painter);
  constexpr std::size_t perPage = kStripsPerPage * tickets::kTicketsPerStrip;
  for (std::size_t first = 0; first < book.tickets.size(); first += perPage) {
    if (first != 0) writer.newPage();
    const std::size_t count = std::min(perPage, book.tickets.size() - first);
    drawer.drawCutLines(
        static_cast<int>((count + tickets::kTicketsPerStrip - 1) / tickets::kTicketsPerStrip));
    for (std::size_t i = 0; i < count; ++i) {
      const int place = static_cast<int>(i);
      drawer.drawTicket(book.tickets[first + i], place / tickets::kTicketsPerStrip,
                        place % tickets::kTicketsPerStrip);
    }
  }
  if (!painter.end()) throw std::runtime_error("cannot finish " + path.string());
}

}  // namespace print
