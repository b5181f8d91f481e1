#pragma once

#include <QApplication>

// The application object. Its notify() is the last resort for an error that
// escapes an event handler or a timer tick: it is shown and the program goes on.
class TAplicacao : public QApplication {
public:
    TAplicacao(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
