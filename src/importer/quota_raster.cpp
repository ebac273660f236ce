#include "importer/quota_raster.hpp"

#include <cpl_error.h>
#include <cpl_vsi.h>
#include <gdal_frmts.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace corvenna {

namespace {

// GDAL reads a raster a block (a tile, or a strip of rows) at a time, each decompressed whole
// into memory, and keeps the blocks it read in its cache. A block beyond this size is refused
// before it is read: a compressed file of a few megabytes can declare blocks of gigabytes.
constexpr double byte_blocco_massimi = 64.0 * 1024 * 1024;
// The cache of the blocks read, which otherwise grows to a share of the machine's memory.
constexpr std::int64_t byte_cache_massimi = 64LL * 1024 * 1024;

quote_raster fallito(std::string messaggio) {
    return {{}, errore_raster{std::move(messaggio)}};
}

// GDAL's own messages stay quiet while the raster is read: every failure comes back as a value.
// The handler is GDAL's per thread.
struct gestore_muto {
    gestore_muto() {
        CPLPushErrorHandler(CPLQuietErrorHandler);
        CPLErrorReset();
    }
    ~gestore_muto() { CPLPopErrorHandler(); }
    gestore_muto(const gestore_muto&) = delete;
    gestore_muto& operator=(const gestore_muto&) = delete;
};

// The bytes as a file of GDAL's memory file system, under a name of its own for each call; the
// bytes stay the caller's.
class file_in_memoria {
  public:
    explicit file_in_memoria(std::string_view byte) {
        static std::atomic<unsigned long> contatore{0};
        nome_ = "/vsimem/corvenna_quota_" + std::to_string(contatore++) + ".tif";
        // GDAL takes a writable pointer but only reads a file it opens read-only.
        auto* dati = reinterpret_cast<GByte*>(const_cast<char*>(byte.data()));
        if (VSILFILE* f = VSIFileFromMemBuffer(nome_.c_str(), dati, byte.size(), FALSE))
            VSIFCloseL(f);
    }
    ~file_in_memoria() { VSIUnlink(nome_.c_str()); }
    file_in_memoria(const file_in_memoria&) = delete;
    file_in_memoria& operator=(const file_in_memoria&) = delete;
    const std::string& nome() const { return nome_; }

  private:
    std::string nome_;
};

// Metres per unit of the band's heights: none given counts as metres.
std::optional<double> metri_per_unita(std::string unita) {
    std::transform(unita.begin(), unita.end(), unita.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (unita.empty() || unita == "m" || unita == "metre" || unita == "meter" ||
        unita == "metres" || unita == "meters")
        return 1.0;
    if (unita == "ft" || unita == "foot" || unita == "feet" || unita == "international foot")
        return 0.3048;
    if (unita == "us survey foot" || unita == "ftus" || unita == "us-ft")
        return 1200.0 / 3937.0;
    return std::nullopt;
}

// The raster's band 1 as heights in metres.
struct banda_quote {
    GDALRasterBand* banda = nullptr;
    int larghezza = 0;
    int altezza = 0;
    bool ha_nodata = false;
    double nodata = 0;
    double scala = 1;
    double scostamento = 0;
    double metri = 1;

    bool valido(double v) const { return std::isfinite(v) && !(ha_nodata && v == nodata); }

    // The pixel values of columns c0..c1 and rows r0..r1 (each pair equal or adjacent), as
    // [r0 c0, r0 c1, r1 c0, r1 c1]; false when GDAL cannot read them.
    bool leggi(int c0, int c1, int r0, int r1, double (&v)[4]) const {
        double blocco[4];
        const int w = c1 - c0 + 1, h = r1 - r0 + 1;
        if (banda->RasterIO(GF_Read, c0, r0, w, h, blocco, w, h, GDT_Float64, 0, 0, nullptr) !=
            CE_None)
            return false;
        v[0] = blocco[0];
        v[1] = blocco[w - 1];
        v[2] = blocco[(h - 1) * w];
        v[3] = blocco[(h - 1) * w + w - 1];
        return true;
    }
};

// The height at pixel coordinates (px, py) (0..width, 0..height across the raster's area):
// bilinear between the four pixel centres around it, clamped at the raster's edges. The pixel
// that holds the point must have data; a neighbour without data gives its weight to the others.
std::optional<campione_quota> campiona(const banda_quote& b, double px, double py) {
    if (!(px >= 0 && px <= b.larghezza && py >= 0 && py <= b.altezza))
        return campione_quota{esito_campione::fuori, 0};
    const double u = px - 0.5, v = py - 0.5;
    const double i0 = std::floor(u), j0 = std::floor(v);
    const double fx = u - i0, fy = v - j0;
    auto colonna = [&](double i) {
        return static_cast<int>(std::clamp(i, 0.0, b.larghezza - 1.0));
    };
    auto riga = [&](double j) { return static_cast<int>(std::clamp(j, 0.0, b.altezza - 1.0)); };
    const int c0 = colonna(i0), c1 = colonna(i0 + 1), r0 = riga(j0), r1 = riga(j0 + 1);
    double valori[4];
    if (!b.leggi(c0, c1, r0, r1, valori))
        return std::nullopt;
    const double pesi[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
    // The corner whose pixel holds the point: the one with the largest weight.
    const std::size_t proprio = static_cast<std::size_t>(std::max_element(pesi, pesi + 4) - pesi);
    if (!b.valido(valori[proprio]))
        return campione_quota{esito_campione::senza_dati, 0};
    double somma = 0, peso = 0;
    for (std::size_t k = 0; k < 4; ++k)
        if (b.valido(valori[k])) {
            somma += pesi[k] * valori[k];
            peso += pesi[k];
        }
    const double quota = (somma / peso * b.scala + b.scostamento) * b.metri;
    if (!std::isfinite(quota))
        return campione_quota{esito_campione::senza_dati, 0};
    return campione_quota{esito_campione::quota, quota};
}

} // namespace

quote_raster campiona_quote(std::string_view byte, std::span<const punto_geografico> punti) {
    if (byte.empty())
        return fallito("il file e' vuoto");
    // Only the GeoTIFF reader: a raster that names other files to read (a virtual raster)
    // would bring file access into the importer.
    static std::once_flag registrato;
    std::call_once(registrato, [] {
        GDALRegister_GTiff();
        GDALSetCacheMax64(byte_cache_massimi);
    });

    const gestore_muto muto;
    const file_in_memoria file(byte);
    const char* const lettori[] = {"GTiff", nullptr};
    const std::unique_ptr<void, void (*)(GDALDatasetH)> aperto(
        GDALOpenEx(file.nome().c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, lettori, nullptr,
                   nullptr),
        [](GDALDatasetH d) { GDALClose(d); });
    GDALDataset* dati = GDALDataset::FromHandle(aperto.get());
    if (!dati)
        return fallito("non e' un raster GeoTIFF leggibile");
    if (dati->GetRasterCount() < 1 || dati->GetRasterXSize() < 1 || dati->GetRasterYSize() < 1)
        return fallito("il raster non ha valori (nessuna banda)");

    double trasformazione[6];
    double inversa[6];
    if (dati->GetGeoTransform(trasformazione) != CE_None ||
        !GDALInvGeoTransform(trasformazione, inversa))
        return fallito("il raster non e' georeferenziato (manca la posizione dei suoi pixel)");
    const OGRSpatialReference* riferimento = dati->GetSpatialRef();
    if (!riferimento || riferimento->IsEmpty())
        return fallito("il raster non dichiara il suo sistema di riferimento");

    // Longitude before latitude on both sides, as the geotransform's x and y.
    OGRSpatialReference wgs84;
    wgs84.SetWellKnownGeogCS("WGS84");
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    OGRSpatialReference del_raster(*riferimento);
    del_raster.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    std::unique_ptr<OGRCoordinateTransformation, void (*)(OGRCoordinateTransformation*)>
        conversione(OGRCreateCoordinateTransformation(&wgs84, &del_raster),
                    OGRCoordinateTransformation::DestroyCT);
    if (!conversione) {
        const char* nome = del_raster.GetName();
        return fallito(std::string("il sistema di riferimento del raster (") +
                       (nome ? nome : "senza nome") + ") non si raggiunge da WGS 84");
    }

    banda_quote b;
    b.banda = dati->GetRasterBand(1);
    // A pixel-interleaved file holds every band's values in one block, which GDAL reads whole.
    int blocco_x = 0, blocco_y = 0;
    b.banda->GetBlockSize(&blocco_x, &blocco_y);
    const char* alternanza = dati->GetMetadataItem("INTERLEAVE", "IMAGE_STRUCTURE");
    const double bande = alternanza != nullptr && std::string_view(alternanza) == "PIXEL"
                             ? dati->GetRasterCount()
                             : 1;
    const double byte_blocco = static_cast<double>(blocco_x) * blocco_y *
                               GDALGetDataTypeSizeBytes(b.banda->GetRasterDataType()) * bande;
    if (byte_blocco > byte_blocco_massimi || blocco_x < 1 || blocco_y < 1)
        return fallito("un blocco del raster (" + std::to_string(blocco_x) + " x " +
                       std::to_string(blocco_y) + " pixel) occupa " +
                       std::to_string(std::llround(byte_blocco / (1024 * 1024))) +
                       " MiB in memoria, oltre i " +
                       std::to_string(std::llround(byte_blocco_massimi / (1024 * 1024))) +
                       " MiB ammessi: riscrivere il raster a tasselli piu' piccoli");
    b.larghezza = dati->GetRasterXSize();
    b.altezza = dati->GetRasterYSize();
    int ha = 0;
    b.nodata = b.banda->GetNoDataValue(&ha);
    b.ha_nodata = ha != 0;
    b.scala = b.banda->GetScale();
    b.scostamento = b.banda->GetOffset();
    const char* unita = b.banda->GetUnitType();
    const auto metri = metri_per_unita(unita ? unita : "");
    if (!metri)
        return fallito(std::string("le quote del raster sono in \"") + unita +
                       "\": servono metri o piedi");
    b.metri = *metri;

    // The points in the raster's system, a batch at a time (GDAL counts them in an int); a
    // point the conversion cannot take lies outside.
    std::vector<double> x(punti.size()), y(punti.size());
    std::vector<int> riuscito(punti.size(), FALSE);
    for (std::size_t i = 0; i < punti.size(); ++i) {
        x[i] = punti[i].longitudine;
        y[i] = punti[i].latitudine;
    }
    constexpr std::size_t lotto = std::numeric_limits<int>::max();
    for (std::size_t da = 0; da < punti.size(); da += lotto) {
        const std::size_t n = std::min(lotto, punti.size() - da);
        conversione->Transform(static_cast<int>(n), &x[da], &y[da], nullptr, &riuscito[da]);
    }

    quote_raster esito;
    esito.campioni.reserve(punti.size());
    for (std::size_t i = 0; i < punti.size(); ++i) {
        if (!riuscito[i] || !std::isfinite(x[i]) || !std::isfinite(y[i])) {
            esito.campioni.push_back({esito_campione::fuori, 0});
            continue;
        }
        const double px = inversa[0] + inversa[1] * x[i] + inversa[2] * y[i];
        const double py = inversa[3] + inversa[4] * x[i] + inversa[5] * y[i];
        const auto c = campiona(b, px, py);
        if (!c) {
            const char* motivo = CPLGetLastErrorMsg();
            return fallito(std::string("i dati del raster sono danneggiati") +
                           (motivo && *motivo ? std::string(" (") + motivo + ")" : ""));
        }
        esito.campioni.push_back(*c);
    }
    return esito;
}

} // namespace corvenna
