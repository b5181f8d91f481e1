#include "impressao_qt.h"
#include "tests/support/arquivo_teste.h"
#include "tests/support/propriedades_ini.h"

#include <gtest/gtest.h>

namespace {

template <std::size_t N>
QByteArray B(const char (&s)[N])
{
    return QByteArray(s, N - 1);
}

struct CasoArquivo {
    const char* nome;
    QByteArray bytes;
};

void PrintTo(const CasoArquivo& c, std::ostream* os)
{
    *os << c.nome;
}

// The inputs the fuzz target starts from are harder; these are the nasty
// shapes it must keep passing, checked on every build.
class Salvamento : public testing::TestWithParam<CasoArquivo> {};

TEST_P(Salvamento, MantemAsOutrasLinhasERecarregaOsValoresSalvos)
{
    ArquivoTeste arquivo;
    EXPECT_EQ(VerificarSalvamento(GetParam().bytes, arquivo.caminho()), QString());
}

// The same shapes through the in-memory edits that the faster fuzz target
// makes, with every choice of keys and values its first byte can make.
TEST_P(Salvamento, EdicoesEmMemoriaSaoRelidasEMantemAsOutrasLinhas)
{
    for (int escolha = 0; escolha < 256; ++escolha) {
        const QByteArray entrada = char(escolha) + GetParam().bytes;
        EXPECT_EQ(VerificarEdicao(entrada), QString()) << "first byte " << escolha;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Config, Salvamento,
    testing::Values(
        CasoArquivo{"vazio", B("")}, CasoArquivo{"so_bom", B("\xEF\xBB\xBF")},
        CasoArquivo{"cabecalho_sem_quebra", B("[GadGetVendHora]")},
        CasoArquivo{"arquivo_do_painel_de_controle",
                    B("[Configuracoes]\r\nLocRem=L\r\nSenha=\xE7\r\n\r\n[GadGetVendHora]\r\n"
                      "PosX=10\r\nPeriodo=2\r\nMeta=\r\n\r\n[GadGetMeta]\r\nMeta=5\r\n")},
        CasoArquivo{"repetidas_em_outra_caixa",
                    B("[gadgetvendhora]\nposx=1\nPOSX=2\n[GadGetVendHora]\nPosY=3\n")},
        CasoArquivo{
            "valores_entre_aspas",
            B("[GadGetVendHora]\nEmpresa=\" a \"\nModo='\"'\nMeta=\"'x'\"\nPeriodo=\"\"\n")},
        CasoArquivo{"binario_e_nuls", B("\0\0[GadGetVendHora]\0\n\xFF=\0\nPosX\n=\n[\n]\n\0")},
        CasoArquivo{"crs_sozinhos", B("[GadGetVendHora]\rPosX=1\r\rModo= x\r")},
        CasoArquivo{"valor_enorme", "[GadGetVendHora]\nModo=" + QByteArray(5000, 'x') + "\n"},
        CasoArquivo{"corte_dentro_de_um_caractere",
                    "[GadGetVendHora]\nModo=" + QByteArray(2046, 'x') + "\xF0\x9F\x98\x80\n"},
        // Replacing Empresa's line leaves valid UTF-8, in which Meta reads otherwise.
        CasoArquivo{
            "edicao_torna_arquivo_utf8",
            B("[GadGetVendHora]\nEmpresa=\xFF\nMeta=\xC3\xA9\nPeriodo=0123456789012345678901234\n")},
        CasoArquivo{"valor_com_brancos_e_aspa_no_fim", B("[GadGetVendHora]\nPosX=1\n'  ")},
        CasoArquivo{"texto_apos_cabecalho", B("[GadGetVendHora] junk\nPosX=1\n[Outro]\nPosX=2")},
        CasoArquivo{"outra_secao_sem_quebra_final", B("[A]\nB=1")},
        CasoArquivo{"crlf_sem_quebra_final", B("[A]\r\nB=1")},
        CasoArquivo{"chave_com_s_longo", B("[GadGetVendHora]\nPo\xC5\xBFX=1\n")},
        CasoArquivo{"bom_e_windows_1252", B("\xEF\xBB\xBF[GadGetVendHora]\nModo=\xE7\n")},
        CasoArquivo{"linhas_em_branco_no_fim_da_secao",
                    B("[GadGetVendHora]\nPosX=1\n\n \t\n[Outro]\nA=1\n\n")},
        // "[GadGetVendHora]\r\nPosX=1\r\n[Outro]\r\nA=\xE7\r\n", and a lone surrogate.
        CasoArquivo{"utf16_little_endian",
                    B("\xFF\xFE[\0G\0a\0d\0G\0e\0t\0V\0e\0n\0d\0H\0o\0r\0a\0]\0\r\0\n\0"
                      "P\0o\0s\0X\0=\0\x31\0\r\0\n\0[\0O\0u\0t\0r\0o\0]\0\r\0\n\0A\0=\0\xE7\0"
                      "\x00\xD8\r\0\n\0")},
        CasoArquivo{"utf16_big_endian_sem_quebra_final",
                    B("\xFE\xFF\0[\0O\0u\0t\0r\0o\0]\0\n\0A\0=\0\x31")},
        // A value that begins with a byte order mark keeps it.
        CasoArquivo{"valor_que_comeca_com_bom",
                    B("[GadGetVendHora]\nModo=\xEF\xBB\xBF\"x\"\nPeriodo=\xEF\xBB\xBF\n")},
        // An odd byte after the last code unit stays last.
        CasoArquivo{"utf16_com_tamanho_impar", B("\xFF\xFE[\0A\0]")}),
    [](const testing::TestParamInfo<CasoArquivo>& i) { return std::string(i.param.nome); });

} // namespace
