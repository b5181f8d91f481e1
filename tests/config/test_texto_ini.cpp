#include "config/texto_ini.h"
#include "impressao_qt.h"
#include "utf16_teste.h"

#include "base/texto.h"

#include <gtest/gtest.h>

namespace {

QByteArray Bytes(const char* s)
{
    return QByteArray(s);
}
template <std::size_t N>
QByteArray BytesComNul(const char (&s)[N])
{
    return QByteArray(s, N - 1);
}

struct CasoLeitura {
    const char* nome;
    QByteArray arquivo;
    const char* secao;
    const char* chave;
    QString esperado;
};

void PrintTo(const CasoLeitura& c, std::ostream* os)
{
    *os << c.nome;
}

class Leitura : public testing::TestWithParam<CasoLeitura> {};

TEST_P(Leitura, LeComoAsFuncoesDePerfil)
{
    const CasoLeitura& c = GetParam();
    EXPECT_EQ(TTextoIni(c.arquivo).Ler(QString::fromUtf8(c.secao), QString::fromUtf8(c.chave)),
              c.esperado);
}

const QString k2047x(2047, u'x');

INSTANTIATE_TEST_SUITE_P(
    Regras, Leitura,
    testing::Values(
        CasoLeitura{"simples", Bytes("[S]\nK=v\n"), "S", "K", "v"},
        CasoLeitura{"caixa_secao", Bytes("[gadgetvendhora]\nPosX=5\n"), "GadGetVendHora", "PosX",
                    "5"},
        CasoLeitura{"caixa_chave", Bytes("[S]\nposx=5\n"), "S", "PosX", "5"},
        CasoLeitura{"brancos_em_volta_dos_nomes", Bytes("  [ S ]\n  K \t= v\n"), "S", "K", "v"},
        CasoLeitura{"nomes_pedidos_aparados", Bytes("[S]\nK=v\n"), " S ", " K ", "v"},
        CasoLeitura{"brancos_em_volta_do_valor", Bytes("[S]\nK= \t v w \t \n"), "S", "K", "v w"},
        CasoLeitura{"depois_do_primeiro_igual", Bytes("[S]\nK=a=b\n"), "S", "K", "a=b"},
        CasoLeitura{"aspas_duplas", Bytes("[S]\nK= \"  v  \" \n"), "S", "K", "  v  "},
        CasoLeitura{"aspas_simples", Bytes("[S]\nK='v'\n"), "S", "K", "v"},
        CasoLeitura{"so_um_par", Bytes("[S]\nK=\"\"v\"\"\n"), "S", "K", "\"v\""},
        CasoLeitura{"aspas_diferentes", Bytes("[S]\nK=\"v'\n"), "S", "K", "\"v'"},
        CasoLeitura{"aspa_sozinha", Bytes("[S]\nK=\"\n"), "S", "K", "\""},
        CasoLeitura{"aspa_que_nao_envolve", Bytes("[S]\nK=\"a\" b\n"), "S", "K", "\"a\" b"},
        CasoLeitura{"aspas_vazias", Bytes("[S]\nK=\"\"\n"), "S", "K", ""},
        CasoLeitura{"corte_em_2047", "[S]\nK=" + QByteArray(3000, 'x'), "S", "K", k2047x},
        CasoLeitura{"exatamente_2047", "[S]\nK=" + QByteArray(2047, 'x'), "S", "K", k2047x},
        CasoLeitura{"aspas_saem_antes_do_corte", "[S]\nK=\"" + QByteArray(2048, 'x') + "\"", "S",
                    "K", k2047x},
        CasoLeitura{"corte_mantem_caracteres_inteiros",
                    "[S]\nK=" + QByteArray(2046, 'x') + "\xF0\x9F\x98\x80", "S", "K",
                    QString(2046, u'x')},
        CasoLeitura{"primeira_chave_vale", Bytes("[S]\nK=1\nk=2\n"), "S", "K", "1"},
        CasoLeitura{"primeira_secao_vale", Bytes("[S]\nA=1\n[s]\nK=2\n"), "S", "K", ""},
        CasoLeitura{"chave_em_outra_secao", Bytes("[T]\nK=1\n[S]\n"), "S", "K", ""},
        CasoLeitura{"chave_antes_de_qualquer_secao", Bytes("K=1\n[S]\n"), "S", "K", ""},
        CasoLeitura{"sem_secao", Bytes("[T]\nK=1\n"), "S", "K", ""},
        CasoLeitura{"sem_chave", Bytes("[S]\nA=1\n"), "S", "K", ""},
        CasoLeitura{"arquivo_vazio", Bytes(""), "S", "K", ""},
        CasoLeitura{"valor_vazio", Bytes("[S]\nK=\nK=2\n"), "S", "K", ""},
        CasoLeitura{"linha_sem_igual_nao_e_chave", Bytes("[S]\nK\nK=v\n"), "S", "K", "v"},
        CasoLeitura{"crlf", Bytes("[S]\r\nK=v\r\n"), "S", "K", "v"},
        CasoLeitura{"sem_quebra_final", Bytes("[S]\nK=v"), "S", "K", "v"},
        CasoLeitura{"texto_depois_do_colchete", Bytes("[S] ; note\nK=v\n"), "S", "K", "v"},
        CasoLeitura{"colchete_aberto_nao_e_secao", Bytes("[S\nK=v\n"), "S", "K", ""},
        CasoLeitura{"linha_de_colchete_com_igual_e_secao", Bytes("[S]=x\nK=v\n"), "S", "K", "v"},
        CasoLeitura{"nome_ate_o_ultimo_colchete", Bytes("[a]b]\nK=v\n"), "a]b", "K", "v"},
        CasoLeitura{"windows_1252", Bytes("[S]\nK=Pe\xE7\xE3o \x80\n"), "S", "K", "Peção €"},
        CasoLeitura{"utf8", Bytes("[S]\nK=Pe\xC3\xA7\xC3\xA3o\n"), "S", "K", "Peção"},
        CasoLeitura{"bytes_nul", BytesComNul("[S]\nK=a\0b\n"), "S", "K",
                    QString::fromUtf8("a\0b", 3)},
        CasoLeitura{"utf8_bom", Bytes("\xEF\xBB\xBF[S]\nK=v\n"), "S", "K", "v"},
        CasoLeitura{"cr_sozinho_fica_na_linha", Bytes("[S]\nK=a\rb\n"), "S", "K", "a\rb"},
        CasoLeitura{"s_longo_nao_e_s", Bytes("[S]\nPo\xC5\xBFX=1\nPosX=2\n"), "S", "PosX", "2"}),
    [](const testing::TestParamInfo<CasoLeitura>& i) { return std::string(i.param.nome); });

struct CasoEscrita {
    const char* nome;
    QByteArray antes;
    const char* chave;
    QString valor;
    QByteArray depois;
};

void PrintTo(const CasoEscrita& c, std::ostream* os)
{
    *os << c.nome;
}

class Escrita : public testing::TestWithParam<CasoEscrita> {};

TEST_P(Escrita, EditaSoALinhaDaChave)
{
    const CasoEscrita& c = GetParam();
    TTextoIni ini(c.antes);
    ini.Escrever(QStringLiteral("S"), QString::fromUtf8(c.chave), c.valor);
    EXPECT_EQ(ini.Conteudo(), c.depois);
    EXPECT_EQ(TTextoIni(ini.Conteudo()).Ler(QStringLiteral("S"), QString::fromUtf8(c.chave)),
              QString(c.valor).replace(u'\n', u' '));
}

INSTANTIATE_TEST_SUITE_P(
    Regras, Escrita,
    testing::Values(
        CasoEscrita{"troca_no_lugar", "[S]\nA=1\nK=old\nB=2\n", "K", "new",
                    "[S]\nA=1\nK=new\nB=2\n"},
        CasoEscrita{"mantem_grafia_chave", "[s]\n  pOsX = 10 \n", "PosX", "20", "[s]\npOsX=20\n"},
        CasoEscrita{"acrescenta_depois_da_ultima_nao_branca", "[S]\nA=1\n\n \n[T]\nB=2\n", "K", "v",
                    "[S]\nA=1\nK=v\n\n \n[T]\nB=2\n"},
        CasoEscrita{"acrescenta_em_secao_vazia", "[S]\n[T]\n", "K", "v", "[S]\nK=v\n[T]\n"},
        CasoEscrita{"secao_nova_no_fim", "[T]\nB=2\n\n", "K", "v", "[T]\nB=2\n\n[S]\nK=v\n"},
        CasoEscrita{"arquivo_novo", "", "K", "v", "[S]\nK=v\n"},
        CasoEscrita{"valor_vazio", "[S]\nK=old\n", "K", "", "[S]\nK=\n"},
        CasoEscrita{"valor_vazio_chave_nova", "[S]\n", "K", "", "[S]\nK=\n"},
        CasoEscrita{"crlf_acrescenta", "[S]\r\nA=1\r\n", "K", "v", "[S]\r\nA=1\r\nK=v\r\n"},
        CasoEscrita{"crlf_secao_nova", "[T]\r\nB=2\r\n", "K", "v", "[T]\r\nB=2\r\n[S]\r\nK=v\r\n"},
        CasoEscrita{"crlf_troca", "[S]\r\nK=1\r\nB=2\r\n", "K", "v", "[S]\r\nK=v\r\nB=2\r\n"},
        CasoEscrita{"sem_quebra_final_acrescenta", "[S]\nA=1", "K", "v", "[S]\nA=1\nK=v\n"},
        CasoEscrita{"sem_quebra_final_crlf", "[S]\r\nA=1", "K", "v", "[S]\r\nA=1\r\nK=v\r\n"},
        CasoEscrita{"sem_quebra_final_troca", "[S]\nK=1", "K", "2", "[S]\nK=2"},
        CasoEscrita{"sem_quebra_final_secao_nova", "[T]\nB=2", "K", "v", "[T]\nB=2\n[S]\nK=v\n"},
        CasoEscrita{"primeira_de_chaves_repetidas", "[S]\nK=1\nk=2\n", "K", "9", "[S]\nK=9\nk=2\n"},
        CasoEscrita{"primeira_de_secoes_repetidas", "[S]\nA=1\n[S]\nK=2\n", "K", "9",
                    "[S]\nA=1\nK=9\n[S]\nK=2\n"},
        CasoEscrita{"mesma_chave_em_outra_secao", "[T]\nK=1\n[S]\nA=1\n", "K", "2",
                    "[T]\nK=1\n[S]\nA=1\nK=2\n"},
        CasoEscrita{"linha_sem_igual_intacta", "[S]\nK\n", "K", "v", "[S]\nK\nK=v\n"},
        CasoEscrita{"outras_linhas_identicas_byte_a_byte",
                    BytesComNul("junk\x01\n[S]\n; note\n  spaced = x \nK=1\n\xFF\xFE\0\n[T]\nK=1"),
                    "K", "2",
                    BytesComNul("junk\x01\n[S]\n; note\n  spaced = x \nK=2\n\xFF\xFE\0\n[T]\nK=1")},
        CasoEscrita{"em_windows_1252", "[S]\nA=\xE7\n", "K", "Peção €",
                    "[S]\nA=\xE7\nK=Pe\xE7\xE3o \x80\n"},
        CasoEscrita{"em_utf8", "[S]\nA=\xC3\xA7\n", "K", "ção",
                    "[S]\nA=\xC3\xA7\nK=\xC3\xA7\xC3\xA3o\n"},
        CasoEscrita{"bom_mantido", "\xEF\xBB\xBF[S]\nK=1\n", "K", "2", "\xEF\xBB\xBF[S]\nK=2\n"},
        CasoEscrita{"brancos_nas_pontas_entre_aspas", "[S]\n", "K", " x ", "[S]\nK=\" x \"\n"},
        CasoEscrita{"aspas_envolventes_entre_aspas", "[S]\n", "K", "'a'", "[S]\nK=\"'a'\"\n"},
        CasoEscrita{"aspas_internas_sem_aspas", "[S]\n", "K", "a\"b'", "[S]\nK=a\"b'\n"},
        CasoEscrita{"quebra_de_linha_vira_branco", "[S]\n", "K", "a\nb", "[S]\nK=a b\n"}),
    [](const testing::TestParamInfo<CasoEscrita>& i) { return std::string(i.param.nome); });

TEST(Escrita, ValorGravadoDuasVezesNumaEdicaoMantemAChave)
{
    TTextoIni ini(QByteArray("[S]\nK=1\n"));
    for (const char* v : {"2", "3"}) {
        ini.Escrever(QStringLiteral("S"), QStringLiteral("K"), QString::fromUtf8(v));
        ini.Escrever(QStringLiteral("S"), QStringLiteral("N"), QString::fromUtf8(v));
    }
    EXPECT_EQ(ini.Conteudo(), QByteArray("[S]\nK=3\nN=3\n"));
}

TEST(Escrita, ValorERelidoQuandoAEdicaoTornaOArquivoUtf8Valido)
{
    // The file is Windows-1252 only because of the line being replaced; the
    // other line then reads as UTF-8, and so must the written value.
    TTextoIni ini(QByteArray("[S]\nK=\xFF\nB=\xC3\xA9\n"));
    const QString valor = QStringLiteral("Ã©");
    ASSERT_EQ(ini.Ler(QStringLiteral("S"), QStringLiteral("B")), valor);
    ini.Escrever(QStringLiteral("S"), QStringLiteral("K"), valor);
    EXPECT_EQ(TTextoIni(ini.Conteudo()).Ler(QStringLiteral("S"), QStringLiteral("K")), valor);
}

struct CasoBytes {
    const char* nome;
    QByteArray antes;
    QByteArray valor;
    QByteArray depois;
};

void PrintTo(const CasoBytes& c, std::ostream* os)
{
    *os << c.nome;
}

class EscritaDeBytes : public testing::TestWithParam<CasoBytes> {};

// A value written as its bytes reads back as text that the file's encoding
// turns into the same bytes again, and no other line reads otherwise than
// before.
TEST_P(EscritaDeBytes, GravaOsBytesSemMudarComoORestoSeLe)
{
    const CasoBytes& c = GetParam();
    const TTextoIni antes(c.antes);
    TTextoIni ini(c.antes);
    ini.EscreverBytes(QStringLiteral("S"), QStringLiteral("K"), c.valor);
    ini.Escrever(QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("Peção"));
    EXPECT_EQ(ini.Conteudo(), c.depois);

    const TTextoIni depois(ini.Conteudo());
    EXPECT_EQ(depois.Ler(QStringLiteral("S"), QStringLiteral("N")), QStringLiteral("Peção"));
    EXPECT_EQ(depois.Ler(QStringLiteral("S"), QStringLiteral("A")),
              antes.Ler(QStringLiteral("S"), QStringLiteral("A")));
}

INSTANTIATE_TEST_SUITE_P(Regras, EscritaDeBytes,
                         testing::Values(
                             // "É1" in Windows-1252 into a file of plain ASCII, which then reads
                             // as Windows-1252.
                             CasoBytes{"windows_1252_em_ascii", "[S]\nA=1\nK=x\n",
                                       "\xC9"
                                       "1",
                                       "[S]\nA=1\nK=\xC9"
                                       "1\nN=Pe\xE7\xE3o\n"},
                             CasoBytes{"windows_1252_trocando_a_unica_linha_utf8",
                                       "[S]\nK=\xC3\x89"
                                       "1\nA=1\n",
                                       "\xC9"
                                       "1",
                                       "[S]\nK=\xC9"
                                       "1\nA=1\nN=Pe\xE7\xE3o\n"},
                             // Other UTF-8 text would read as Windows-1252: the text is written.
                             CasoBytes{"windows_1252_em_utf8_com_outro_texto", "[S]\nA=\xC3\xA7\n",
                                       "\xC9"
                                       "1",
                                       "[S]\nA=\xC3\xA7\nK=\xC3\x89"
                                       "1\nN=Pe\xC3\xA7\xC3\xA3o\n"},
                             CasoBytes{"windows_1252_com_bom_utf8", "\xEF\xBB\xBF[S]\n", "\xC9",
                                       "\xEF\xBB\xBF[S]\nK=\xC3\x89\nN=Pe\xC3\xA7\xC3\xA3o\n"},
                             // UTF-8 bytes into a Windows-1252 file: as they are.
                             CasoBytes{"utf8_em_windows_1252", "[S]\nA=\xE7\n",
                                       "\xC3\x89"
                                       "1",
                                       "[S]\nA=\xE7\nK=\xC3\x89"
                                       "1\nN=Pe\xE7\xE3o\n"},
                             CasoBytes{"utf8_em_utf8", "[S]\nA=\xC3\xA7\n",
                                       "\xC3\x89"
                                       "1",
                                       "[S]\nA=\xC3\xA7\nK=\xC3\x89"
                                       "1\nN=Pe\xC3\xA7\xC3\xA3o\n"},
                             CasoBytes{"brancos_nas_pontas_entre_aspas", "[S]\n", " \xC9 ",
                                       "[S]\nK=\" \xC9 \"\nN=Pe\xE7\xE3o\n"},
                             CasoBytes{"secao_nova", "[T]\r\nB=2\r\n", "\xC9",
                                       "[T]\r\nB=2\r\n[S]\r\nK=\xC9\r\nN=Pe\xE7\xE3o\r\n"}),
                         [](const testing::TestParamInfo<CasoBytes>& i) {
                             return std::string(i.param.nome);
                         });

// Even the five bytes that Windows-1252 leaves unassigned read back as the
// text that the file's encoding turns into the same bytes.
TEST(EscritaDeBytes, BytesSemLetraEmWindows1252VoltamIguais)
{
    const QByteArray valor("\x81\x8D\x8F\x90\x9D");
    for (const char* arquivo : {"[S]\n", "[S]\nA=\xE7\n"}) {
        TTextoIni ini{QByteArray(arquivo)};
        ini.EscreverBytes(QStringLiteral("S"), QStringLiteral("K"), valor);
        const TTextoIni depois(ini.Conteudo());
        EXPECT_EQ(
            CodificarTexto(depois.Ler(QStringLiteral("S"), QStringLiteral("K")), depois.Utf8()),
            valor)
            << arquivo;
    }
}

// Windows reads a file that begins with a UTF-16 byte order mark as UTF-16,
// and writes it back so.
TEST(Utf16, LeEGravaComoOWindows)
{
    // A lone surrogate on a line that is not edited stays as it was.
    const QString antes = QStringLiteral("[Configuracoes]\r\nUsuario=Jo\u00E3o \U0001F600\r\n"
                                         "Nota=")
                          + QChar(0xD800) + QStringLiteral("\r\n[S]\r\nK=1\r\n[T]\r\nB=2");
    for (const bool grande : {false, true}) {
        SCOPED_TRACE(grande ? "big endian" : "little endian");
        TTextoIni ini(Utf16(antes, grande));
        EXPECT_TRUE(ini.Utf8());
        EXPECT_EQ(ini.Ler(QStringLiteral("Configuracoes"), QStringLiteral("Usuario")),
                  QStringLiteral("Jo\u00E3o \U0001F600"));
        ini.Escrever(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("\u20AC"));
        ini.Escrever(QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("ç"));
        ini.Escrever(QStringLiteral("U"), QStringLiteral("M"), QStringLiteral("x"));
        bool unicode = false;
        const QByteArray depois = ini.Conteudo(&unicode);
        EXPECT_TRUE(unicode);
        QString esperado = antes;
        esperado.replace(QStringLiteral("K=1\r\n"), QStringLiteral("K=\u20AC\r\nN=ç\r\n"));
        esperado += QStringLiteral("\r\n[U]\r\nM=x\r\n");
        EXPECT_EQ(depois, Utf16(esperado, grande));
        EXPECT_EQ(TTextoIni(depois).Ler(QStringLiteral("S"), QStringLiteral("N")),
                  QStringLiteral("ç"));
    }
}

// A byte after the last whole code unit is no text: it stays at the end.
TEST(Utf16, ByteImparFicaNoFim)
{
    TTextoIni ini(Utf16(QStringLiteral("[S]\nK=v\n")) + 'X');
    EXPECT_EQ(ini.Ler(QStringLiteral("S"), QStringLiteral("K")), QStringLiteral("v"));
    ini.Escrever(QStringLiteral("T"), QStringLiteral("N"), QStringLiteral("w"));
    EXPECT_EQ(ini.Conteudo(), Utf16(QStringLiteral("[S]\nK=v\n[T]\nN=w\n")) + 'X');
}

} // namespace
