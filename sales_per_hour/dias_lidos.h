#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <vector>

// One day's orders as the sales statement totals them, by hour of the day
// and by the minute the orders reach, before any rounding.
class TDiaLido {
public:
    // Adds one result row: hora is the first two characters of the orders'
    // Hora ("08", "7", empty for none), resto the three after them (":05",
    // empty). Rows whose hour key is no hour of the day are dropped.
    void Somar(const QString& hora, const QString& resto, long double valor, int vendas);

    // The hour's net value and number of sales; h is 0 to 23.
    long double Valor(int h) const;
    int Vendas(int h) const;
    // The net value of the hours from ini up to fim that were over at
    // hh:mm, and of the orders of hour hh up to minute mm: an order counts
    // when its Hora, cut to "hh:mm", is not later than that.
    long double ValorAte(int ini, int fim, int hh, int mm) const;

private:
    struct TGrupo {
        int Hora;
        int Minuto; // the first minute at which the group's orders have all happened; 60: never
        int Vendas;
        long double Valor;
    };
    std::vector<TGrupo> FGrupos;
};

class TTabelaVendasHora;

// Puts each hour's figures of the day into the table's rows, the value
// rounded to cents once.
void PreencherTabela(TTabelaVendasHora& tabela, const TDiaLido& dia);

// Days read before today, kept for a while: they change rarely (a late
// return, a sale invoiced later), and the reference days of every refresh
// and a past day that is paged to again need not be read each time. An
// entry holds for one branch, hour range and imported-orders setting. Used
// from the database thread and the UI's alike.
class TCacheDias {
public:
    // How long a day read stays good.
    static constexpr qint64 VALIDADE_SEGUNDOS = 15 * 60;

    struct TChave {
        QDate Dia;
        QString Empresa;
        QString HoraIni;
        QString HoraFim;
        bool ExcluirImportados;
        auto operator<=>(const TChave& outra) const
        {
            return std::tie(Dia, Empresa, HoraIni, HoraFim, ExcluirImportados)
                   <=> std::tie(outra.Dia, outra.Empresa, outra.HoraIni, outra.HoraFim,
                                outra.ExcluirImportados);
        }
    };

    // The day when it was kept less than VALIDADE_SEGUNDOS before agora;
    // null otherwise.
    std::shared_ptr<const TDiaLido> Procurar(const TChave& chave, const QDateTime& agora);
    // Keeps the day as read at agora, and lets go of the days gone stale.
    void Guardar(const TChave& chave, std::shared_ptr<const TDiaLido> dia, const QDateTime& agora);

private:
    struct TEntrada {
        std::shared_ptr<const TDiaLido> Dia;
        QDateTime Lido;
    };
    static bool Valida(const TEntrada& entrada, const QDateTime& agora);

    std::mutex FTrava;
    std::map<TChave, TEntrada> FDias;
};
