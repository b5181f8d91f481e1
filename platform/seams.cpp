#include "platform/seams.h"

#include <QCoreApplication>

namespace plataforma {

TGanchos& Ganchos()
{
    static TGanchos g;
    return g;
}

QDate Hoje()
{
    return Ganchos().hoje ? Ganchos().hoje() : QDate::currentDate();
}

QDateTime Agora()
{
    return Ganchos().agora ? Ganchos().agora() : QDateTime::currentDateTime();
}

QString ArquivoPrograma()
{
    return Ganchos().arquivoPrograma ? Ganchos().arquivoPrograma()
                                     : QCoreApplication::applicationFilePath();
}

} // namespace plataforma
