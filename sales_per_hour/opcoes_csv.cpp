#include "sales_per_hour/opcoes_csv.h"

#include "base/brasil.h"
#include "platform/seams.h"
#include "sales_per_hour/vendas_hora_dados.h"

#include <QCommandLineParser>
#include <QRegularExpression>

const QString USO_VENDAS_POR_HORA_CSV = QStringLiteral(
    "Uso: vendas-por-hora-csv [--dia dd/mm/aaaa | --de dd/mm/aaaa [--ate dd/mm/aaaa]]\n"
    "                           [--hora-ini H] [--hora-fim H] [--por-filial]\n"
    "                           [--detalhado [--comparar nada|semana|media4]]\n"
    "                           [--formato csv|json] [--tempo-limite S]\n"
    "       vendas-por-hora-csv --help | --version\n"
    "\n"
    "Imprime as vendas de um dia, hora a hora, em CSV para planilha: o cabeçalho\n"
    "HORA;VALOR e uma linha por hora, com vírgula decimal e duas casas (08;1234,50).\n"
    "O banco de dados, a filial (\"Empresa\"), os pedidos importados\n"
    "(\"PedidosImportados\") e a comparação (\"Comparacao\") vêm do arquivo de\n"
    "configuração das gadgets, seção \"GadGetVendHora\": $VANTREL_GADGETS_INI quando\n"
    "definido, senão $XDG_CONFIG_HOME/TempVUX/ConfigGadGet.Ini (~/.config por\n"
    "padrão). Nada é gravado.\n"
    "\n"
    "Com --detalhado, o cabeçalho é HORA;VALOR;VENDAS;TICKET;REFERENCIA: o número de\n"
    "vendas da hora, o valor médio por venda (vazio sem vendas) e o valor da hora\n"
    "no dia de referência (vazio sem comparação); a última linha, TOTAL, traz o dia\n"
    "inteiro, também o da referência.\n"
    "\n"
    "Com --de, imprime o período de --de a --ate, os dois inclusive (sem --ate, até\n"
    "hoje; no máximo 3660 dias): o cabeçalho DATA;HORA;VALOR e, dia a dia em ordem,\n"
    "uma linha por hora, também as sem vendas (13/05/2024;08;1234,50). Com\n"
    "--detalhado seguem VENDAS;TICKET e cada dia termina com a sua linha TOTAL.\n"
    "\n"
    "Com --por-filial, a coluna FILIAL vem logo depois de DATA (ou primeiro, para\n"
    "um dia) e há um bloco por filial, em ordem de código, com todos os dias e\n"
    "todas as horas: cada filial ativa de FILIAIS e cada filial com vendas no\n"
    "período, mesmo inativa ou fora de FILIAIS. A filial da configuração\n"
    "(\"Empresa\") é ignorada.\n"
    "\n"
    "Um período e --por-filial não têm REFERENCIA: --comparar vale só para um dia\n"
    "sem --por-filial.\n"
    "\n"
    "Com --formato json, as mesmas linhas saem como um documento JSON: uma lista de\n"
    "objetos com os nomes das colunas em minúsculas (data, filial, hora, valor,\n"
    "vendas, ticket, referencia), valores com duas casas decimais, datas\n"
    "aaaa-mm-dd e ticket null sem vendas.\n"
    "\n"
    "Opções:\n"
    "  --dia dd/mm/aaaa  dia das vendas (padrão: hoje)\n"
    "  --de dd/mm/aaaa   primeiro dia de um período; não combina com --dia\n"
    "  --ate dd/mm/aaaa  último dia do período (padrão: hoje); só com --de\n"
    "  --hora-ini H      primeira hora, inteiro de 0 a 23 (padrão: 8)\n"
    "  --hora-fim H      última hora, inteiro de 0 a 23 (padrão: 18)\n"
    "  --por-filial      um bloco por filial, sem a filial da configuração\n"
    "  --detalhado       acrescenta vendas, ticket, referência e a linha TOTAL\n"
    "  --comparar C      referência de --detalhado: nada, semana (o mesmo dia da\n"
    "                    semana anterior) ou media4 (a média do mesmo dia nas quatro\n"
    "                    semanas anteriores); padrão: a da configuração, senão semana\n"
    "  --formato F       csv (padrão) ou json\n"
    "  --tempo-limite S  segundos que a leitura do banco pode levar; passado o\n"
    "                    limite ela é interrompida (padrão: 50; 0: sem limite)\n"
    "  --help            mostra esta ajuda\n"
    "  --version         mostra a versão\n"
    "Cada opção com valor aceita também a forma --opcao=valor (--dia=13/05/2024).\n"
    "\n"
    "A conexão desiste em alguns segundos quando o servidor não responde. Um dia\n"
    "sem --por-filial em CSV só é impresso depois de lido inteiro; o resto sai à\n"
    "medida que é lido, e uma falha no meio deixa a saída incompleta.\n"
    "\n"
    "Código de saída: 0 quando imprime a tabela; 1 para opções inválidas; 2 para\n"
    "qualquer outro erro (configuração, conexão, consulta, tempo limite).\n");

namespace {

QString Hora(const QString& opcao, const QString& texto)
{
    static const QRegularExpression inteiro(QStringLiteral("^[0-9]{1,2}$"));
    if (!inteiro.match(texto).hasMatch() || texto.toInt() > 23)
        throw TErroDeUso(QStringLiteral("hora inválida em %1: \"%2\", use um inteiro de 0 a 23")
                             .arg(opcao, texto));
    return QString::number(texto.toInt());
}

TComparacao Comparar(const QString& texto)
{
    if (texto == QLatin1String("nada"))
        return TComparacao::Nada;
    if (texto == QLatin1String("semana"))
        return TComparacao::SemanaPassada;
    if (texto == QLatin1String("media4"))
        return TComparacao::Media4Semanas;
    throw TErroDeUso(
        QStringLiteral("comparação inválida em --comparar: \"%1\", use nada, semana ou media4")
            .arg(texto));
}

std::chrono::seconds TempoLimite(const QString& texto)
{
    static const QRegularExpression inteiro(QStringLiteral("^[0-9]{1,6}$"));
    if (!inteiro.match(texto).hasMatch())
        throw TErroDeUso(QStringLiteral("tempo limite inválido em --tempo-limite: \"%1\", use "
                                        "segundos, 0 para nenhum")
                             .arg(texto));
    return std::chrono::seconds(texto.toInt());
}

QDate Data(const QString& opcao, const QString& texto)
{
    try {
        return DataDoDia(texto);
    } catch (const TErro&) {
        throw TErroDeUso(
            QStringLiteral("data inválida em %1: \"%2\", use dd/mm/aaaa").arg(opcao, texto));
    }
}

TFormatoSaida Formato(const QString& texto)
{
    if (texto == QLatin1String("csv"))
        return TFormatoSaida::Csv;
    if (texto == QLatin1String("json"))
        return TFormatoSaida::Json;
    throw TErroDeUso(
        QStringLiteral("formato inválido em --formato: \"%1\", use csv ou json").arg(texto));
}

// Ten years: a mistyped year (20240 for 2024) reads as no period.
constexpr qint64 MAXIMO_DIAS = 3660;

} // namespace

TOpcoesCsv LerOpcoesCsv(const QStringList& argumentos)
{
    QCommandLineParser leitor;
    const QCommandLineOption ajuda(QStringLiteral("help"), QString());
    const QCommandLineOption versao(QStringLiteral("version"), QString());
    const QCommandLineOption dia(QStringLiteral("dia"), QString(), QStringLiteral("dd/mm/aaaa"));
    const QCommandLineOption horaIni(QStringLiteral("hora-ini"), QString(), QStringLiteral("H"));
    const QCommandLineOption horaFim(QStringLiteral("hora-fim"), QString(), QStringLiteral("H"));
    const QCommandLineOption detalhado(QStringLiteral("detalhado"), QString());
    const QCommandLineOption comparar(QStringLiteral("comparar"), QString(), QStringLiteral("C"));
    const QCommandLineOption tempoLimite(QStringLiteral("tempo-limite"), QString(),
                                         QStringLiteral("S"));
    const QCommandLineOption de(QStringLiteral("de"), QString(), QStringLiteral("dd/mm/aaaa"));
    const QCommandLineOption ate(QStringLiteral("ate"), QString(), QStringLiteral("dd/mm/aaaa"));
    const QCommandLineOption porFilial(QStringLiteral("por-filial"), QString());
    const QCommandLineOption formato(QStringLiteral("formato"), QString(), QStringLiteral("F"));
    leitor.addOptions({ajuda, versao, dia, horaIni, horaFim, detalhado, comparar, tempoLimite, de,
                       ate, porFilial, formato});
    // Only the long forms exist: "-dia" is no abbreviation of anything.
    leitor.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    // The parser takes the first element as the program's name.
    if (!leitor.parse(QStringList{PROGRAMA_CSV} + argumentos)) {
        const QStringList desconhecidas = leitor.unknownOptionNames();
        if (!desconhecidas.isEmpty())
            throw TErroDeUso(
                QStringLiteral("opção desconhecida: \"--%1\"").arg(desconhecidas.first()));
        // The one other failure: the last option lacks its value.
        throw TErroDeUso(QStringLiteral("falta o valor de %1").arg(argumentos.last()));
    }
    TOpcoesCsv opcoes;
    if (leitor.isSet(ajuda)) {
        opcoes.ajuda = true;
        return opcoes;
    }
    if (leitor.isSet(versao)) {
        opcoes.versao = true;
        return opcoes;
    }
    if (!leitor.positionalArguments().isEmpty())
        throw TErroDeUso(QStringLiteral("argumento inesperado: \"%1\"")
                             .arg(leitor.positionalArguments().first()));
    const QDate hoje = plataforma::Hoje();
    opcoes.dia = (leitor.isSet(dia) ? Data(QStringLiteral("--dia"), leitor.value(dia)) : hoje)
                     .toString(FORMATO_DATA);
    if (leitor.isSet(de) && leitor.isSet(dia))
        throw TErroDeUso(
            QStringLiteral("a opção --dia não combina com --de e --ate: use um ou outro"));
    if (leitor.isSet(ate) && !leitor.isSet(de))
        throw TErroDeUso(
            QStringLiteral("a opção --ate precisa de --de, o primeiro dia do período"));
    if (leitor.isSet(de)) {
        opcoes.de = Data(QStringLiteral("--de"), leitor.value(de));
        opcoes.ate = leitor.isSet(ate) ? Data(QStringLiteral("--ate"), leitor.value(ate)) : hoje;
        const QString inicio = opcoes.de.toString(FORMATO_DATA);
        const QString fim = opcoes.ate.toString(FORMATO_DATA);
        if (opcoes.ate < opcoes.de && !leitor.isSet(ate))
            throw TErroDeUso(QStringLiteral("o período começa depois de hoje: --de %1, hoje é %2")
                                 .arg(inicio, fim));
        if (opcoes.ate < opcoes.de)
            throw TErroDeUso(
                QStringLiteral("o período termina antes de começar: --ate %1 é anterior a --de %2")
                    .arg(fim, inicio));
        const qint64 dias = opcoes.de.daysTo(opcoes.ate) + 1;
        if (dias > MAXIMO_DIAS)
            throw TErroDeUso(QStringLiteral("período longo demais: %1 dias de %2 a %3; o máximo "
                                            "é %4 dias")
                                 .arg(dias)
                                 .arg(inicio, fim)
                                 .arg(MAXIMO_DIAS));
    }
    opcoes.porFilial = leitor.isSet(porFilial);
    if (leitor.isSet(formato))
        opcoes.formato = Formato(leitor.value(formato));
    if (leitor.isSet(horaIni))
        opcoes.horaIni = Hora(QStringLiteral("--hora-ini"), leitor.value(horaIni));
    if (leitor.isSet(horaFim))
        opcoes.horaFim = Hora(QStringLiteral("--hora-fim"), leitor.value(horaFim));
    opcoes.detalhado = leitor.isSet(detalhado);
    if (leitor.isSet(comparar)) {
        opcoes.comparar = Comparar(leitor.value(comparar));
        if (opcoes.de.isValid() || opcoes.porFilial)
            throw TErroDeUso(QStringLiteral(
                "a opção --comparar vale só para um dia sem --por-filial: um período e as filiais "
                "não têm referência"));
    }
    if (leitor.isSet(tempoLimite))
        opcoes.tempoLimite = TempoLimite(leitor.value(tempoLimite));
    return opcoes;
}
