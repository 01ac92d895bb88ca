#include "MonitorWindow.h"

#include "TraceMonitorServer.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vm::fsmonitor {

namespace {
// Old lines go once the list is this long, so a monitor can run for days.
constexpr int kMaxLines = 200000;
}  // namespace

MonitorWindow::MonitorWindow(TraceMonitorServer& server, const QString& title, QWidget* parent)
    : QWidget(parent),
      server_(server),
      lines_(new QPlainTextEdit(this)),
      pause_(new QPushButton(tr("&Pause"), this)),
      clear_(new QPushButton(tr("&Clear"), this)),
      status_(new QLabel(this))
{
    setWindowTitle(title);
    lines_->setReadOnly(true);
    lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    lines_->setMaximumBlockCount(kMaxLines);
    lines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lines_->setTabStopDistance(4 * lines_->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    pause_->setCheckable(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(pause_);
    buttons->addWidget(clear_);
    buttons->addStretch();
    buttons->addWidget(status_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lines_);
    layout->addLayout(buttons);
    resize(900, 500);

    connect(pause_, &QPushButton::toggled, this, [this](bool paused) {
        server_.setPaused(paused);
        pause_->setText(paused ? tr("&Resume") : tr("&Pause"));
        showStatus();
    });
    connect(clear_, &QPushButton::clicked, lines_, &QPlainTextEdit::clear);
    connect(&server_, &TraceMonitorServer::lineReceived, this, [this](const QString& line) {
        lines_->appendPlainText(line);
        ++lineCount_;
        showStatus();
    });
    connect(&server_, &TraceMonitorServer::clientsChanged, this, [this](int count) {
        clients_ = count;
        showStatus();
    });
    showStatus();
}

void MonitorWindow::showStatus()
{
    status_->setText(tr("%1 program(s) connected, %2 line(s)%3")
                         .arg(clients_)
                         .arg(lineCount_)
                         .arg(server_.isPaused() ? tr(", paused") : QString()));
}

}  // namespace vm::fsmonitor
