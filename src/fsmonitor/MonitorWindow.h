#pragma once
// The trace monitor's window: the lines of the traced programs as they come,
// a Pause button that holds the programs at their next line, and Clear.

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vm::fsmonitor {

class TraceMonitorServer;

class MonitorWindow : public QWidget {
    Q_OBJECT
public:
    MonitorWindow(TraceMonitorServer& server, const QString& title, QWidget* parent = nullptr);

    QPlainTextEdit* lines() const { return lines_; }
    QPushButton* pauseButton() const { return pause_; }

private:
    void showStatus();

    TraceMonitorServer& server_;
    QPlainTextEdit* lines_;
    QPushButton* pause_;
    QPushButton* clear_;
    QLabel* status_;
    int clients_ = 0;
    qint64 lineCount_ = 0;
};

}  // namespace vm::fsmonitor
