#pragma once

#include <QApplication>

// The application object. Its notify() is the one place where an error that
// escapes an event handler or a timer tick is reported; the program goes on.
class TAplicacao : public QApplication {
public:
    TAplicacao(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the text of the exception being handled in a box.
void MostrarErro(std::exception_ptr erro);
