// The main of the widget tests: the program's own application object, so that
// an error reaches the boxes the program's way.
#include "tests/support/principal_qt.h"

#include "platform/seams.h"
#include "shell/aplicacao.h"
#include "tests/support/ambiente_qt.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

QStringList& ErrosRelatados()
{
    static QStringList erros;
    return erros;
}

int main(int argc, char** argv)
{
    QTemporaryDir xdg;
    PrepararAmbienteQt(xdg);
    plataforma::Ganchos().mensagem = [](plataforma::TCaixa, const QString& texto) {
        ErrosRelatados() << texto;
    };
    TAplicacao aplicacao(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
