#include "data/mensagem.h"

#include "base/erro.h"
#include "base/texto.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cmath>
#include <cstring>
#include <ibase.h>
#include <limits>

namespace {

constexpr unsigned MAX_VARCHAR = 32765;

enum class TForma { Nulo, Texto, Numero, Data, Booleano };

bool Inteiro(unsigned tipo)
{
    return tipo == SQL_SHORT || tipo == SQL_LONG || tipo == SQL_INT64;
}

bool Numerico(unsigned tipo)
{
    return Inteiro(tipo) || tipo == SQL_FLOAT || tipo == SQL_DOUBLE || tipo == SQL_D_FLOAT;
}

bool Temporal(unsigned tipo)
{
    return tipo == SQL_TYPE_DATE || tipo == SQL_TIMESTAMP || tipo == SQL_TYPE_TIME;
}

bool ValorInteiro(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool ValorNumerico(const QVariant& v)
{
    return ValorInteiro(v) || v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

bool ValorTemporal(const QVariant& v, unsigned tipo)
{
    const int id = v.typeId();
    if (tipo == SQL_TYPE_TIME)
        return id == QMetaType::QTime || id == QMetaType::QDateTime;
    return id == QMetaType::QDate || id == QMetaType::QDateTime;
}

TForma Escolher(const QVariant& v, unsigned tipo)
{
    if (!v.isValid() || v.isNull())
        return TForma::Nulo;
    if (Numerico(tipo) && ValorNumerico(v))
        return TForma::Numero;
    if (Temporal(tipo) && ValorTemporal(v, tipo))
        return TForma::Data;
    if (tipo == SQL_BOOLEAN && v.typeId() == QMetaType::Bool)
        return TForma::Booleano;
    return TForma::Texto;
}

QByteArray ComoTexto(const QVariant& v)
{
    QString texto;
    switch (v.typeId()) {
    case QMetaType::QByteArray:
        break;
    case QMetaType::QDate:
        texto = v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
        break;
    case QMetaType::QDateTime:
        texto = v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        break;
    case QMetaType::QTime:
        texto = v.toTime().toString(QStringLiteral("HH:mm:ss.zzz"));
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        texto = QString::number(v.toDouble(), 'g', 17);
        break;
    default:
        texto = v.toString();
    }
    QByteArray bytes = v.typeId() == QMetaType::QByteArray ? v.toByteArray() : texto.toUtf8();
    if (bytes.size() > qsizetype(MAX_VARCHAR))
        throw TErro(
            QStringLiteral("Texto longo demais para um parâmetro: %1 bytes").arg(bytes.size()));
    return bytes;
}

template <class T>
void Gravar(char* destino, T valor)
{
    std::memcpy(destino, &valor, sizeof valor);
}

template <class T>
T Lido(const unsigned char* origem)
{
    T valor;
    std::memcpy(&valor, origem, sizeof valor);
    return valor;
}

long double PotenciaDeDez(int expoente)
{
    return std::pow(10.0L, expoente);
}

void GravarInteiro(char* destino, unsigned tipo, int escala, const QVariant& v)
{
    long double valor = ValorInteiro(v) ? static_cast<long double>(v.toLongLong())
                                        : static_cast<long double>(v.toDouble());
    valor = std::round(valor * PotenciaDeDez(-escala));
    long double minimo = std::numeric_limits<qint64>::min();
    long double maximo = std::numeric_limits<qint64>::max();
    if (tipo == SQL_SHORT) {
        minimo = std::numeric_limits<qint16>::min();
        maximo = std::numeric_limits<qint16>::max();
    } else if (tipo == SQL_LONG) {
        minimo = std::numeric_limits<qint32>::min();
        maximo = std::numeric_limits<qint32>::max();
    }
    if (!std::isfinite(valor) || valor < minimo || valor > maximo)
        throw TErro(QStringLiteral("Valor fora do intervalo do parâmetro: %1").arg(v.toString()));
    if (tipo == SQL_SHORT)
        Gravar(destino, static_cast<qint16>(valor));
    else if (tipo == SQL_LONG)
        Gravar(destino, static_cast<qint32>(valor));
    else
        Gravar(destino, static_cast<qint64>(valor));
}

ISC_TIME HoraFirebird(const QTime& hora)
{
    return fb::Util()->encodeTime(hora.hour(), hora.minute(), hora.second(), hora.msec() * 10);
}

void GravarData(char* destino, unsigned tipo, const QVariant& v)
{
    const QDateTime momento =
        v.typeId() == QMetaType::QDate ? QDateTime(v.toDate(), QTime(0, 0)) : v.toDateTime();
    if (tipo == SQL_TYPE_TIME) {
        const QTime hora = v.typeId() == QMetaType::QTime ? v.toTime() : momento.time();
        Gravar(destino, HoraFirebird(hora));
        return;
    }
    const QDate dia = momento.date();
    if (!dia.isValid())
        throw TErro(QStringLiteral("Data inválida em um parâmetro"));
    const ISC_DATE data = fb::Util()->encodeDate(dia.year(), dia.month(), dia.day());
    if (tipo == SQL_TYPE_DATE)
        Gravar(destino, data);
    else
        Gravar(destino, ISC_TIMESTAMP{data, HoraFirebird(momento.time())});
}

} // namespace

TMensagemEntrada::TMensagemEntrada(Firebird::IMessageMetadata* descricao,
                                   const QList<QVariant>& valores)
{
    fb::TStatus status;
    const unsigned n = descricao->getCount(&status);
    if (n != unsigned(valores.size()))
        throw TErro(
            QStringLiteral("O comando pede %1 parâmetros e recebeu %2").arg(n).arg(valores.size()));
    if (n == 0)
        return;

    QList<TForma> formas;
    QList<QByteArray> textos(n);
    fb::TRef<Firebird::IMetadataBuilder> construtor(descricao->getBuilder(&status));
    for (unsigned i = 0; i < n; ++i) {
        const unsigned tipo = descricao->getType(&status, i) & ~1u;
        const TForma forma = Escolher(valores[i], tipo);
        formas.append(forma);
        if (forma == TForma::Texto) {
            textos[i] = ComoTexto(valores[i]);
            construtor->setType(&status, i, SQL_VARYING | 1);
            construtor->setScale(&status, i, 0);
            construtor->setLength(&status, i, qMax<unsigned>(1, textos[i].size()));
        } else {
            construtor->setType(&status, i, tipo | 1);
        }
    }
    FMetadados.reset(construtor->getMetadata(&status));
    FDados = QByteArray(FMetadados->getMessageLength(&status), '\0');

    for (unsigned i = 0; i < n; ++i) {
        char* base = FDados.data();
        const unsigned tipo = FMetadados->getType(&status, i) & ~1u;
        char* valor = base + FMetadados->getOffset(&status, i);
        Gravar<qint16>(base + FMetadados->getNullOffset(&status, i),
                       formas[i] == TForma::Nulo ? -1 : 0);
        const QVariant& v = valores[i];
        switch (formas[i]) {
        case TForma::Nulo:
            break;
        case TForma::Texto:
            Gravar(valor, static_cast<quint16>(textos[i].size()));
            std::memcpy(valor + sizeof(quint16), textos[i].constData(), textos[i].size());
            break;
        case TForma::Numero:
            if (Inteiro(tipo))
                GravarInteiro(valor, tipo, FMetadados->getScale(&status, i), v);
            else if (tipo == SQL_FLOAT)
                Gravar(valor, static_cast<float>(v.toDouble()));
            else
                Gravar(valor, v.toDouble());
            break;
        case TForma::Data:
            GravarData(valor, tipo, v);
            break;
        case TForma::Booleano:
            Gravar<FB_BOOLEAN>(valor, v.toBool() ? FB_TRUE : FB_FALSE);
            break;
        }
    }
}

TMensagemSaida::TMensagemSaida(Firebird::IMessageMetadata* descricao)
{
    fb::TStatus status;
    const unsigned n = descricao->getCount(&status);
    for (unsigned i = 0; i < n; ++i) {
        TColuna coluna{descricao->getType(&status, i) & ~1u, descricao->getScale(&status, i),
                       descricao->getLength(&status, i), descricao->getOffset(&status, i),
                       descricao->getNullOffset(&status, i)};
        const QString nome = QString::fromUtf8(descricao->getAlias(&status, i));
        const bool suportado = coluna.tipo == SQL_TEXT || coluna.tipo == SQL_VARYING
                               || Numerico(coluna.tipo) || Temporal(coluna.tipo)
                               || coluna.tipo == SQL_BOOLEAN;
        if (!suportado)
            throw TErro(
                QStringLiteral("Tipo de coluna não suportado: %1 (%2)").arg(nome).arg(coluna.tipo));
        FDescricao.append(coluna);
        FColunas.append(nome);
    }
    FDados = QByteArray(descricao->getMessageLength(&status), '\0');
}

QList<QVariant> TMensagemSaida::Linha() const
{
    QList<QVariant> valores;
    valores.reserve(FDescricao.size());
    const auto* base = reinterpret_cast<const unsigned char*>(FDados.constData());
    for (const TColuna& c : FDescricao) {
        const unsigned char* p = base + c.deslocamento;
        if (Lido<qint16>(base + c.deslocamentoNulo) != 0) {
            valores.append(QVariant());
            continue;
        }
        switch (c.tipo) {
        case SQL_TEXT:
            valores.append(QByteArray(reinterpret_cast<const char*>(p), c.tamanho));
            break;
        case SQL_VARYING: {
            const quint16 tamanho = Lido<quint16>(p);
            valores.append(QByteArray(reinterpret_cast<const char*>(p + sizeof(quint16)), tamanho));
            break;
        }
        case SQL_SHORT:
        case SQL_LONG:
        case SQL_INT64: {
            const qint64 inteiro = c.tipo == SQL_SHORT  ? Lido<qint16>(p)
                                   : c.tipo == SQL_LONG ? Lido<qint32>(p)
                                                        : Lido<qint64>(p);
            if (c.escala == 0)
                valores.append(QVariant::fromValue(inteiro));
            else
                valores.append(static_cast<double>(inteiro / PotenciaDeDez(-c.escala)));
            break;
        }
        case SQL_FLOAT:
            valores.append(static_cast<double>(Lido<float>(p)));
            break;
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
            valores.append(Lido<double>(p));
            break;
        case SQL_TYPE_DATE:
        case SQL_TIMESTAMP: {
            unsigned ano = 0, mes = 0, dia = 0;
            fb::Util()->decodeDate(Lido<ISC_DATE>(p), &ano, &mes, &dia);
            const QDate data(ano, mes, dia);
            if (c.tipo == SQL_TYPE_DATE) {
                valores.append(data);
                break;
            }
            unsigned h = 0, m = 0, s = 0, fracao = 0;
            fb::Util()->decodeTime(Lido<ISC_TIME>(p + sizeof(ISC_DATE)), &h, &m, &s, &fracao);
            valores.append(QDateTime(data, QTime(h, m, s, fracao / 10)));
            break;
        }
        case SQL_TYPE_TIME: {
            unsigned h = 0, m = 0, s = 0, fracao = 0;
            fb::Util()->decodeTime(Lido<ISC_TIME>(p), &h, &m, &s, &fracao);
            valores.append(QTime(h, m, s, fracao / 10));
            break;
        }
        case SQL_BOOLEAN:
            valores.append(Lido<FB_BOOLEAN>(p) != FB_FALSE);
            break;
        }
    }
    return valores;
}
