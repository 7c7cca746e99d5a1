#include "pictures/jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

namespace zelpo {

namespace {

constexpr size_t TAMANHO_BLOCO = 1 << 16;
constexpr int COMPONENTES_CMYK = 4;
constexpr int PIXELS_POR_BLOCO = DCTSIZE2;
constexpr int MAIOR_DIVISOR_DCT = 8;

// The scans seen so far and the pixels their blocks cover.
struct ProgressoJpeg : jpeg_progress_mgr {
    int varredura = 0;
    qint64 pixels = 0;
};

// libjpeg reports errors by calling error_exit, which must not return: it jumps back to
// the function that started the step.
struct ErroJpeg : jpeg_error_mgr {
    std::jmp_buf salto;
};

// Reads the device a block at a time. At the end of the data libjpeg gets a made-up end
// marker, as Qt's reader gives it, and fills what is missing with grey; `acabouCedo`
// tells that it happened.
struct FonteJpeg : jpeg_source_mgr {
    QIODevice* dispositivo = nullptr;
    bool acabouCedo = false;
    JOCTET bloco[TAMANHO_BLOCO];
};

// Everything one decode needs, destroyed together on every way out.
struct Descompressor {
    jpeg_decompress_struct info{};
    ErroJpeg erro{};
    FonteJpeg fonte;
    ProgressoJpeg progresso{};

    explicit Descompressor(QIODevice& dispositivo);
    ~Descompressor() { jpeg_destroy_decompress(&info); }
};

extern "C" {

void SairComErro(j_common_ptr info)
{
    std::longjmp(static_cast<ErroJpeg*>(info->err)->salto, 1);
}

void Calar(j_common_ptr) {}

void Iniciar(j_decompress_ptr) {}

boolean Encher(j_decompress_ptr info)
{
    auto* fonte = static_cast<FonteJpeg*>(info->src);
    const qint64 lidos = fonte->dispositivo->read(reinterpret_cast<char*>(fonte->bloco), TAMANHO_BLOCO);
    fonte->next_input_byte = fonte->bloco;
    if (lidos <= 0) {
        fonte->acabouCedo = true;
        fonte->bloco[0] = 0xFF;
        fonte->bloco[1] = JPEG_EOI;
        fonte->bytes_in_buffer = 2;
    } else {
        fonte->bytes_in_buffer = static_cast<size_t>(lidos);
    }
    return TRUE;
}

void Pular(j_decompress_ptr info, long quantos)
{
    auto* fonte = static_cast<FonteJpeg*>(info->src);
    while (quantos > static_cast<long>(fonte->bytes_in_buffer)) {
        quantos -= static_cast<long>(fonte->bytes_in_buffer);
        Encher(info);
    }
    if (quantos > 0) {
        fonte->next_input_byte += quantos;
        fonte->bytes_in_buffer -= static_cast<size_t>(quantos);
    }
}

void Terminar(j_decompress_ptr) {}

// A progressive file may hold any number of scans, each a pass over the blocks of its
// components; the count is taken as each scan starts, before its work is done.
void ContarVarreduras(j_common_ptr comum)
{
    auto* info = reinterpret_cast<j_decompress_ptr>(comum);
    auto* progresso = static_cast<ProgressoJpeg*>(info->progress);
    if (info->input_scan_number == progresso->varredura)
        return;
    progresso->varredura = info->input_scan_number;
    for (int i = 0; i < info->comps_in_scan; ++i) {
        const jpeg_component_info* c = info->cur_comp_info[i];
        progresso->pixels += qint64(c->width_in_blocks) * c->height_in_blocks * PIXELS_POR_BLOCO;
    }
    if (progresso->pixels > PIXELS_DE_VARREDURA_MAXIMOS) {
        comum->err->msg_code = JERR_OUT_OF_MEMORY;
        comum->err->error_exit(comum);
    }
}

} // extern "C"

Descompressor::Descompressor(QIODevice& dispositivo)
{
    info.err = jpeg_std_error(&erro);
    erro.error_exit = SairComErro;
    erro.output_message = Calar;
    fonte.dispositivo = &dispositivo;
    fonte.init_source = Iniciar;
    fonte.fill_input_buffer = Encher;
    fonte.skip_input_data = Pular;
    fonte.resync_to_restart = jpeg_resync_to_restart;
    fonte.term_source = Terminar;
    fonte.bytes_in_buffer = 0;
    fonte.next_input_byte = nullptr;
    progresso.progress_monitor = ContarVarreduras;
}

// The steps below run libjpeg, which may jump back to their start; they keep no object
// of their own that would need destroying. Destroying a decompressor that was never
// created does nothing.
bool LerCabecalho(Descompressor& d)
{
    if (setjmp(d.erro.salto))
        return false;
    jpeg_create_decompress(&d.info);
    d.info.mem->max_memory_to_use = MEMORIA_MAXIMA_JPEG;
    d.info.src = &d.fonte;
    d.info.progress = &d.progresso;
    jpeg_read_header(&d.info, TRUE);
    return true;
}

// Four-component files are CMYK as Adobe writes them, inverted; Qt brings them to RGB
// by the black channel alone, and so does this.
void ConverterCmyk(const JSAMPLE* cmyk, QRgb* saida, int n)
{
    for (int i = 0; i < n; ++i, cmyk += COMPONENTES_CMYK) {
        const int k = cmyk[3];
        saida[i] = qRgb(k * cmyk[0] / 255, k * cmyk[1] / 255, k * cmyk[2] / 255);
    }
}

// The divisor of libjpeg's scaled transform: 1 unless the pixels at the picture's size
// would pass the budget and a shrink is asked for; then the smallest that brings them
// within it and still leaves at least the size the board keeps. 0: none does.
int DivisorDct(QSize natural, const Ajuste& ajuste)
{
    if (qint64(natural.width()) * natural.height() <= PIXELS_MAXIMOS_FIGURA)
        return 1;
    if (!ajuste.reduzir)
        return 1; // a crop reads only its first rows
    const QSize destino = TamanhoAjustado(natural, ajuste);
    for (int divisor = 2; divisor <= MAIOR_DIVISOR_DCT; divisor *= 2) {
        const qint64 w = (natural.width() + divisor - 1) / divisor, h = (natural.height() + divisor - 1) / divisor;
        if (w < destino.width() || h < destino.height())
            return 0;
        if (w * h <= PIXELS_MAXIMOS_FIGURA)
            return divisor;
    }
    return 0;
}

bool IniciarLeitura(Descompressor& d, int divisor)
{
    if (setjmp(d.erro.salto))
        return false;
    jpeg_decompress_struct& info = d.info;
    const bool cmyk = info.num_components == COMPONENTES_CMYK;
    // Blue, green, red, alpha bytes are a QRgb in memory.
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    info.scale_num = 1;
    info.scale_denom = static_cast<unsigned int>(divisor);
    jpeg_start_decompress(&info);
    return true;
}

bool LerLinhas(Descompressor& d, ReceptorDeLinhas& receptor)
{
    if (setjmp(d.erro.salto))
        return false;
    jpeg_decompress_struct& info = d.info;
    const bool cmyk = info.num_components == COMPONENTES_CMYK;
    const JDIMENSION largura = info.output_width;
    const int colunas = std::min<int>(static_cast<int>(largura), receptor.Colunas());
    JSAMPARRAY linha = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                  largura * static_cast<JDIMENSION>(info.output_components), 1);
    auto* convertida = static_cast<QRgb*>((*info.mem->alloc_large)(reinterpret_cast<j_common_ptr>(&info),
                                                                    JPOOL_IMAGE, largura * sizeof(QRgb)));
    // The rows a receptor needs always start at the top.
    while (info.output_scanline < info.output_height && receptor.PrecisaDaLinha(static_cast<int>(info.output_scanline))) {
        const int y = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, linha, 1);
        const QRgb* pixels = reinterpret_cast<const QRgb*>(linha[0]);
        if (cmyk) {
            ConverterCmyk(linha[0], convertida, colunas);
            pixels = convertida;
        }
        receptor.Receber(y, pixels, 0, colunas);
    }
    if (info.output_scanline == info.output_height)
        jpeg_finish_decompress(&info);
    else
        jpeg_abort_decompress(&info);
    return true;
}

const char* MensagemDoErro(const Descompressor& d)
{
    const int codigo = d.erro.msg_code;
    return codigo == JERR_OUT_OF_MEMORY || codigo == JERR_NO_BACKING_STORE ? ERRO_GRANDE : ERRO_CORROMPIDO;
}

} // namespace

ResultadoFigura DecodificarJpeg(QIODevice& dispositivo, const Ajuste& ajuste)
{
    Descompressor d(dispositivo);
    if (!LerCabecalho(d))
        return FalhaDeFigura(MensagemDoErro(d));
    const QSize natural(static_cast<int>(d.info.image_width), static_cast<int>(d.info.image_height));
    if (natural.isEmpty())
        return FalhaDeFigura(ERRO_CORROMPIDO); // tables without a picture
    const int divisor = DivisorDct(natural, ajuste);
    if (divisor == 0)
        return FalhaDeFigura(ERRO_GRANDE);
    if (!IniciarLeitura(d, divisor))
        return FalhaDeFigura(MensagemDoErro(d));
    const QSize lida(static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height));
    const std::unique_ptr<ReceptorDeLinhas> receptor =
        divisor == 1 ? NovoReceptor(natural, ajuste) : NovoReceptorReduzido(lida, TamanhoAjustado(natural, ajuste));
    if (!receptor)
        return FalhaDeFigura(ERRO_GRANDE);
    if (!LerLinhas(d, *receptor))
        return FalhaDeFigura(MensagemDoErro(d));
    // A shrink has read every row: a file cut short has been padded with grey.
    if (d.fonte.acabouCedo && receptor->PrecisaDaLinha(lida.height() - 1))
        return FalhaDeFigura(ERRO_CORROMPIDO);
    QImage imagem = receptor->Resultado();
    if (imagem.isNull())
        return FalhaDeFigura(ERRO_GRANDE);
    return {Figura{std::move(imagem), natural, false}, {}};
}

} // namespace zelpo
