#include "config/texto_ini.h"
#include "impressao_qt.h"

#include <gtest/gtest.h>

namespace {

QByteArray Bytes(const char* s) { return QByteArray(s); }
template <std::size_t N>
QByteArray BytesComNul(const char (&s)[N]) { return QByteArray(s, N - 1); }

struct CasoLeitura {
    const char* nome;
    QByteArray arquivo;
    const char* secao;
    const char* chave;
    QString esperado;
};

void PrintTo(const CasoLeitura& c, std::ostream* os) { *os << c.nome; }

class Leitura : public testing::TestWithParam<CasoLeitura> {};

TEST_P(Leitura, ReadsAsTheProfileFunctionsDo)
{
    const CasoLeitura& c = GetParam();
    EXPECT_EQ(TextoIni(c.arquivo).Ler(QString::fromUtf8(c.secao), QString::fromUtf8(c.chave)),
              c.esperado);
}

const QString k2047x(2047, u'x');

INSTANTIATE_TEST_SUITE_P(
    Rules, Leitura,
    testing::Values(
        CasoLeitura{"plain", Bytes("[S]\nK=v\n"), "S", "K", "v"},
        CasoLeitura{"section_case", Bytes("[gadgetvendhora]\nPosX=5\n"), "GadGetVendHora", "PosX", "5"},
        CasoLeitura{"key_case", Bytes("[S]\nposx=5\n"), "S", "PosX", "5"},
        CasoLeitura{"blanks_around_names", Bytes("  [ S ]\n  K \t= v\n"), "S", "K", "v"},
        CasoLeitura{"requested_names_trimmed", Bytes("[S]\nK=v\n"), " S ", " K ", "v"},
        CasoLeitura{"blanks_around_value", Bytes("[S]\nK= \t v w \t \n"), "S", "K", "v w"},
        CasoLeitura{"after_first_equals", Bytes("[S]\nK=a=b\n"), "S", "K", "a=b"},
        CasoLeitura{"double_quotes", Bytes("[S]\nK= \"  v  \" \n"), "S", "K", "  v  "},
        CasoLeitura{"single_quotes", Bytes("[S]\nK='v'\n"), "S", "K", "v"},
        CasoLeitura{"one_pair_only", Bytes("[S]\nK=\"\"v\"\"\n"), "S", "K", "\"v\""},
        CasoLeitura{"mismatched_quotes", Bytes("[S]\nK=\"v'\n"), "S", "K", "\"v'"},
        CasoLeitura{"lone_quote", Bytes("[S]\nK=\"\n"), "S", "K", "\""},
        CasoLeitura{"quote_not_enclosing", Bytes("[S]\nK=\"a\" b\n"), "S", "K", "\"a\" b"},
        CasoLeitura{"empty_quotes", Bytes("[S]\nK=\"\"\n"), "S", "K", ""},
        CasoLeitura{"cut_at_2047", "[S]\nK=" + QByteArray(3000, 'x'), "S", "K", k2047x},
        CasoLeitura{"exactly_2047", "[S]\nK=" + QByteArray(2047, 'x'), "S", "K", k2047x},
        CasoLeitura{"quotes_dropped_before_cut", "[S]\nK=\"" + QByteArray(2048, 'x') + "\"", "S", "K",
                    k2047x},
        CasoLeitura{"cut_keeps_whole_characters",
                    "[S]\nK=" + QByteArray(2046, 'x') + "\xF0\x9F\x98\x80", "S", "K",
                    QString(2046, u'x')},
        CasoLeitura{"first_key_wins", Bytes("[S]\nK=1\nk=2\n"), "S", "K", "1"},
        CasoLeitura{"first_section_wins", Bytes("[S]\nA=1\n[s]\nK=2\n"), "S", "K", ""},
        CasoLeitura{"key_in_other_section", Bytes("[T]\nK=1\n[S]\n"), "S", "K", ""},
        CasoLeitura{"key_before_any_section", Bytes("K=1\n[S]\n"), "S", "K", ""},
        CasoLeitura{"missing_section", Bytes("[T]\nK=1\n"), "S", "K", ""},
        CasoLeitura{"missing_key", Bytes("[S]\nA=1\n"), "S", "K", ""},
        CasoLeitura{"empty_file", Bytes(""), "S", "K", ""},
        CasoLeitura{"empty_value", Bytes("[S]\nK=\nK=2\n"), "S", "K", ""},
        CasoLeitura{"line_without_equals_is_no_key", Bytes("[S]\nK\nK=v\n"), "S", "K", "v"},
        CasoLeitura{"crlf", Bytes("[S]\r\nK=v\r\n"), "S", "K", "v"},
        CasoLeitura{"no_final_newline", Bytes("[S]\nK=v"), "S", "K", "v"},
        CasoLeitura{"text_after_bracket", Bytes("[S] ; note\nK=v\n"), "S", "K", "v"},
        CasoLeitura{"unclosed_bracket_is_no_section", Bytes("[S\nK=v\n"), "S", "K", ""},
        CasoLeitura{"bracket_line_with_equals_is_section", Bytes("[S]=x\nK=v\n"), "S", "K", "v"},
        CasoLeitura{"name_up_to_last_bracket", Bytes("[a]b]\nK=v\n"), "a]b", "K", "v"},
        CasoLeitura{"windows_1252", Bytes("[S]\nK=Pe\xE7\xE3o \x80\n"), "S", "K", "Peção €"},
        CasoLeitura{"utf8", Bytes("[S]\nK=Pe\xC3\xA7\xC3\xA3o\n"), "S", "K", "Peção"},
        CasoLeitura{"nul_bytes", BytesComNul("[S]\nK=a\0b\n"), "S", "K", QString::fromUtf8("a\0b", 3)},
        CasoLeitura{"utf8_bom", Bytes("\xEF\xBB\xBF[S]\nK=v\n"), "S", "K", "v"},
        CasoLeitura{"lone_cr_stays_in_line", Bytes("[S]\nK=a\rb\n"), "S", "K", "a\rb"},
        CasoLeitura{"long_s_is_no_s", Bytes("[S]\nPo\xC5\xBFX=1\nPosX=2\n"), "S", "PosX", "2"}),
    [](const testing::TestParamInfo<CasoLeitura>& i) { return std::string(i.param.nome); });

struct CasoEscrita {
    const char* nome;
    QByteArray antes;
    const char* chave;
    QString valor;
    QByteArray depois;
};

void PrintTo(const CasoEscrita& c, std::ostream* os) { *os << c.nome; }

class Escrita : public testing::TestWithParam<CasoEscrita> {};

TEST_P(Escrita, EditsOnlyTheKeyLine)
{
    const CasoEscrita& c = GetParam();
    TextoIni ini(c.antes);
    ini.Escrever(QStringLiteral("S"), QString::fromUtf8(c.chave), c.valor);
    EXPECT_EQ(ini.Conteudo(), c.depois);
    EXPECT_EQ(TextoIni(ini.Conteudo()).Ler(QStringLiteral("S"), QString::fromUtf8(c.chave)),
              QString(c.valor).replace(u'\n', u' '));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Escrita,
    testing::Values(
        CasoEscrita{"replace_in_place", "[S]\nA=1\nK=old\nB=2\n", "K", "new", "[S]\nA=1\nK=new\nB=2\n"},
        CasoEscrita{"keeps_key_spelling", "[s]\n  pOsX = 10 \n", "PosX", "20", "[s]\npOsX=20\n"},
        CasoEscrita{"append_after_last_nonblank", "[S]\nA=1\n\n \n[T]\nB=2\n", "K", "v",
                    "[S]\nA=1\nK=v\n\n \n[T]\nB=2\n"},
        CasoEscrita{"append_to_empty_section", "[S]\n[T]\n", "K", "v", "[S]\nK=v\n[T]\n"},
        CasoEscrita{"new_section_at_end", "[T]\nB=2\n\n", "K", "v", "[T]\nB=2\n\n[S]\nK=v\n"},
        CasoEscrita{"new_file", "", "K", "v", "[S]\nK=v\n"},
        CasoEscrita{"empty_value", "[S]\nK=old\n", "K", "", "[S]\nK=\n"},
        CasoEscrita{"empty_value_new_key", "[S]\n", "K", "", "[S]\nK=\n"},
        CasoEscrita{"crlf_append", "[S]\r\nA=1\r\n", "K", "v", "[S]\r\nA=1\r\nK=v\r\n"},
        CasoEscrita{"crlf_new_section", "[T]\r\nB=2\r\n", "K", "v", "[T]\r\nB=2\r\n[S]\r\nK=v\r\n"},
        CasoEscrita{"crlf_replace", "[S]\r\nK=1\r\nB=2\r\n", "K", "v", "[S]\r\nK=v\r\nB=2\r\n"},
        CasoEscrita{"no_final_newline_append", "[S]\nA=1", "K", "v", "[S]\nA=1\nK=v\n"},
        CasoEscrita{"no_final_newline_crlf", "[S]\r\nA=1", "K", "v", "[S]\r\nA=1\r\nK=v\r\n"},
        CasoEscrita{"no_final_newline_replace", "[S]\nK=1", "K", "2", "[S]\nK=2"},
        CasoEscrita{"no_final_newline_new_section", "[T]\nB=2", "K", "v", "[T]\nB=2\n[S]\nK=v\n"},
        CasoEscrita{"first_of_duplicate_keys", "[S]\nK=1\nk=2\n", "K", "9", "[S]\nK=9\nk=2\n"},
        CasoEscrita{"first_of_duplicate_sections", "[S]\nA=1\n[S]\nK=2\n", "K", "9",
                    "[S]\nA=1\nK=9\n[S]\nK=2\n"},
        CasoEscrita{"same_key_in_other_section", "[T]\nK=1\n[S]\nA=1\n", "K", "2",
                    "[T]\nK=1\n[S]\nA=1\nK=2\n"},
        CasoEscrita{"line_without_equals_left_alone", "[S]\nK\n", "K", "v", "[S]\nK\nK=v\n"},
        CasoEscrita{"other_lines_byte_identical",
                    BytesComNul("junk\x01\n[S]\n; note\n  spaced = x \nK=1\n\xFF\xFE\0\n[T]\nK=1"),
                    "K", "2",
                    BytesComNul("junk\x01\n[S]\n; note\n  spaced = x \nK=2\n\xFF\xFE\0\n[T]\nK=1")},
        CasoEscrita{"windows_1252_file", "[S]\nA=\xE7\n", "K", "Peção €", "[S]\nA=\xE7\nK=Pe\xE7\xE3o \x80\n"},
        CasoEscrita{"utf8_file", "[S]\nA=\xC3\xA7\n", "K", "ção", "[S]\nA=\xC3\xA7\nK=\xC3\xA7\xC3\xA3o\n"},
        CasoEscrita{"bom_kept", "\xEF\xBB\xBF[S]\nK=1\n", "K", "2", "\xEF\xBB\xBF[S]\nK=2\n"},
        CasoEscrita{"blanks_at_ends_quoted", "[S]\n", "K", " x ", "[S]\nK=\" x \"\n"},
        CasoEscrita{"enclosing_quotes_quoted", "[S]\n", "K", "'a'", "[S]\nK=\"'a'\"\n"},
        CasoEscrita{"inner_quotes_plain", "[S]\n", "K", "a\"b'", "[S]\nK=a\"b'\n"},
        CasoEscrita{"line_break_becomes_blank", "[S]\n", "K", "a\nb", "[S]\nK=a b\n"}),
    [](const testing::TestParamInfo<CasoEscrita>& i) { return std::string(i.param.nome); });

TEST(Escrita, ValueWrittenTwiceInOneEditKeepsTheKey)
{
    TextoIni ini(QByteArray("[S]\nK=1\n"));
    for (const char* v : {"2", "3"}) {
        ini.Escrever(QStringLiteral("S"), QStringLiteral("K"), QString::fromUtf8(v));
        ini.Escrever(QStringLiteral("S"), QStringLiteral("N"), QString::fromUtf8(v));
    }
    EXPECT_EQ(ini.Conteudo(), QByteArray("[S]\nK=3\nN=3\n"));
}

TEST(Escrita, ValueReadsBackWhenTheEditMakesTheFileValidUtf8)
{
    // The file is Windows-1252 only because of the line being replaced; the
    // other line then reads as UTF-8, and so must the written value.
    TextoIni ini(QByteArray("[S]\nK=\xFF\nB=\xC3\xA9\n"));
    const QString valor = QStringLiteral("Ã©");
    ASSERT_EQ(ini.Ler(QStringLiteral("S"), QStringLiteral("B")), valor);
    ini.Escrever(QStringLiteral("S"), QStringLiteral("K"), valor);
    EXPECT_EQ(TextoIni(ini.Conteudo()).Ler(QStringLiteral("S"), QStringLiteral("K")), valor);
}

} // namespace
