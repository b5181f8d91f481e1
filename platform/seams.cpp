#include "platform/seams.h"

#include <QCoreApplication>

namespace plataforma {

Ganchos& ganchos()
{
    static Ganchos g;
    return g;
}

QDate Hoje()
{
    return ganchos().hoje ? ganchos().hoje() : QDate::currentDate();
}

QDateTime Agora()
{
    return ganchos().agora ? ganchos().agora() : QDateTime::currentDateTime();
}

QString ArquivoPrograma()
{
    return ganchos().arquivoPrograma ? ganchos().arquivoPrograma()
                                     : QCoreApplication::applicationFilePath();
}

} // namespace plataforma
