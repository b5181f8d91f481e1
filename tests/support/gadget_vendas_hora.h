#pragma once

// A sales-per-hour gadget on a test host, over a retail database with a few
// sales around a fixed today.

#include "config/config.h"
#include "data/conexao.h"
#include "frame/data_edit.h"
#include "platform/area_trabalho.h"
#include "platform/seams.h"
#include "sales_per_hour/grafico_vendas.h"
#include "sales_per_hour/vendas_hora.h"
#include "shell/estilos_host.h"
#include "tests/fixtures/banco_varejo.h"
#include "tests/support/principal_qt.h"

#include <QDate>
#include <QLabel>
#include <QLineSeries>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>

inline const QDate HOJE(2024, 3, 15); // a Friday

struct Venda {
    int dia; // days from HOJE
    const char* empresa;
    const char* hora;
    double total;
};

// The five before the last fall on the same weekday one, two and four weeks
// before; the last, a large shop's day, three days after.
inline const Venda VENDAS[] = {
    {0, "01", "08:15", 100.10},  {0, "01", "08:45", 20.00},   {0, "02", "09:30", 55.55},
    {0, "01", "12:00", 300.00},  {0, "02", "18:59", 10.01},   {0, "01", "07:59", 999.00},
    {0, "01", "19:00", 888.00},  {0, "02", "23:10", 5.00},    {-1, "01", "10:00", 70.00},
    {-1, "02", "13:30", 42.42},  {-1, "01", "18:00", 1.00},   {-2, "01", "11:11", 11.11},
    {-7, "01", "08:10", 100.00}, {-7, "01", "10:45", 40.00},  {-7, "02", "12:30", 200.00},
    {-14, "01", "08:20", 60.00}, {-28, "02", "09:00", 20.00}, {3, "01", "09:00", 98765432109.87},
};

// The value each hour from ini to fim should show for the day HOJE + dia.
inline QList<double> Esperado(int dia, int ini, int fim, const QString& empresa = {})
{
    QList<double> valores;
    for (int hora = ini; hora <= fim; ++hora) {
        double soma = 0;
        for (const Venda& v : VENDAS)
            if (v.dia == dia && QString::fromLatin1(v.hora).left(2).toInt() == hora
                && (empresa.isEmpty() || empresa == QLatin1String(v.empresa)))
                soma += v.total;
        valores << std::round(soma * 100) / 100;
    }
    return valores;
}

inline QList<double> Valores(const TGraficoVendas* grafico)
{
    QList<double> valores;
    if (grafico->Serie())
        for (const QPointF& ponto : grafico->Serie()->points())
            valores << ponto.y();
    return valores;
}

inline void ExpectValores(const TGraficoVendas* grafico, const QList<double>& esperado,
                          const std::string& contexto)
{
    const QList<double> valores = Valores(grafico);
    ASSERT_EQ(valores.size(), esperado.size()) << contexto;
    for (qsizetype i = 0; i < valores.size(); ++i)
        EXPECT_NEAR(valores[i], esperado[i], 1e-9) << contexto << ", point " << i;
}

// Two branches, one counted operation and the sales of VENDAS.
inline void PreencherVendas(BancoVarejo& banco)
{
    banco.addFilial(QStringLiteral("01"), QStringLiteral("Loja Centro"));
    banco.addFilial(QStringLiteral("02"), QStringLiteral("Loja Dois"));
    banco.addOperacao(1, QStringLiteral("S"), QStringLiteral("N"));
    QList<Pedido> pedidos;
    for (const Venda& v : VENDAS) {
        Pedido p;
        p.codEmpresa = QString::fromLatin1(v.empresa);
        p.dataPedido = HOJE.addDays(v.dia);
        p.hora = QString::fromLatin1(v.hora);
        p.totalPedido = v.total;
        pedidos << p;
    }
    banco.addPedidos(pedidos);
}

class VendasHoraTeste : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        pasta = new QTemporaryDir;
        banco = new BancoVarejo(pasta->filePath(QStringLiteral("loja.fdb")));
        PreencherVendas(*banco);
        ini = pasta->filePath(QStringLiteral("ConfigGadGet.Ini"));
        EscreverIniBanco(ini, banco->acesso());
    }

    static void TearDownTestSuite()
    {
        delete banco;
        delete pasta;
    }

    void SetUp() override
    {
        qputenv("VANTREL_GADGETS_INI", ini.toLocal8Bit());
        plataforma::Ganchos().hoje = [] { return HOJE; };
        plataforma::Ganchos().tamanhoTela = [] { return QSize(1200, 800); };
        mensagens.clear();

        config.setAtualizaDados(QStringLiteral("5"));
        config.setTransparencia(QStringLiteral("100"));
        config.setSempreVisivel(QStringLiteral("0"));
        config.setHoraIni(QStringLiteral("8"));
        config.setHoraFim(QStringLiteral("18"));
        config.setPedidosImportados(QStringLiteral("0"));
        const AcessoBanco& a = banco->acesso();
        ConfigurarConexao(conexao, a);

        // Every refresh takes the main window off the taskbar, hiding it for a
        // moment: let that be a window of its own, out of the pointer's way.
        principal.setGeometry(-100, -100, 10, 10);
        plataforma::DefinirJanelaPrincipal(&principal);
        host.resize(1200, 800);
        AplicaEstilosHost(&host);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        Constroi();
    }

    void TearDown() override { qunsetenv("VANTREL_GADGETS_INI"); }

    // A new gadget in place of the one there is, placed but not started.
    void Constroi()
    {
        delete gadget.data();
        gadget = new TVendasHora(&host);
        gadget->SetConfig(&config);
        gadget->SetConexao(&conexao);
        gadget->PosicionaGadGet();
    }

    // Lets the queued events run and the gadget's database reading end, with
    // its result applied.
    void EsperaLeitura()
    {
        QCoreApplication::processEvents();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !gadget || !gadget->Lendo(); }, 60000))
            << "the reading never ended";
        QCoreApplication::processEvents();
    }

    void Inicia()
    {
        gadget->IniciarGadget(gadget);
        EsperaLeitura();
    }

    template <class T>
    T* Controle(const char* nome) const
    {
        return host.findChild<T*>(QLatin1String(nome));
    }
    TGraficoVendas* Resumo() const { return Controle<TGraficoVendas>("ChGraficoMin"); }
    TGraficoVendas* Detalhe() const { return Controle<TGraficoVendas>("ChGraficoMax"); }
    QString Texto(const char* rotulo) const { return Controle<QLabel>(rotulo)->text(); }

    static inline QTemporaryDir* pasta = nullptr;
    static inline BancoVarejo* banco = nullptr;
    static inline QString ini;

    plataforma::TGanchosRestaurados ganchos;
    // The boxes shown, as the tests' main collects them.
    QStringList& mensagens = ErrosRelatados();
    TConfig config{QStringLiteral("GadGetVendHora")};
    TConexao conexao;
    QWidget principal;
    QWidget host;
    QPointer<TVendasHora> gadget;
};
