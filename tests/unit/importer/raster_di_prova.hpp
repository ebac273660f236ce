#pragma once

// Small elevation rasters for the importer's tests and the whole-program ones: a GeoTIFF of a
// few pixels made with GDAL in its memory file system, its bytes returned as a file holds them.

#include <cpl_vsi.h>
#include <gdal_frmts.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <array>
#include <atomic>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace corvenna::prova {

struct raster_di_prova {
    // The reference system as GDAL takes it ("EPSG:4326", a WKT text); empty for none.
    std::string riferimento = "EPSG:4326";
    // x and y of the top left corner, the pixel's width and (negative) height; std::nullopt
    // for a raster without a georeference.
    std::optional<std::array<double, 6>> trasformazione;
    int larghezza = 1;
    int altezza = 1;
    // The value of the pixel whose centre is at (x, y) in the raster's own coordinates.
    std::function<double(double, double)> quota = [](double, double) { return 0.0; };
    std::optional<double> nodata;
    // Pixels (column, row) that hold `nodata`.
    std::vector<std::pair<int, int>> senza_dati;
    std::string unita;
};

inline std::string geotiff(const raster_di_prova& r) {
    GDALRegister_GTiff();
    static std::atomic<int> contatore{0};
    const std::string nome = "/vsimem/raster_di_prova_" + std::to_string(contatore++) + ".tif";
    GDALDriver* tiff = GetGDALDriverManager()->GetDriverByName("GTiff");
    GDALDataset* d = tiff->Create(nome.c_str(), r.larghezza, r.altezza, 1, GDT_Float32, nullptr);
    if (!d)
        throw std::runtime_error("GDAL non crea " + nome);
    std::array<double, 6> t{0, 1, 0, 0, 0, -1};
    if (r.trasformazione) {
        t = *r.trasformazione;
        d->SetGeoTransform(t.data());
    }
    if (!r.riferimento.empty()) {
        OGRSpatialReference s;
        s.SetFromUserInput(r.riferimento.c_str());
        d->SetSpatialRef(&s);
    }
    GDALRasterBand* banda = d->GetRasterBand(1);
    if (r.nodata)
        banda->SetNoDataValue(*r.nodata);
    if (!r.unita.empty())
        banda->SetUnitType(r.unita.c_str());
    std::vector<float> valori(static_cast<std::size_t>(r.larghezza) *
                              static_cast<std::size_t>(r.altezza));
    for (int riga = 0; riga < r.altezza; ++riga)
        for (int colonna = 0; colonna < r.larghezza; ++colonna) {
            const double x = t[0] + (colonna + 0.5) * t[1] + (riga + 0.5) * t[2];
            const double y = t[3] + (colonna + 0.5) * t[4] + (riga + 0.5) * t[5];
            valori[static_cast<std::size_t>(riga * r.larghezza + colonna)] =
                static_cast<float>(r.quota(x, y));
        }
    for (const auto& [colonna, riga] : r.senza_dati)
        valori[static_cast<std::size_t>(riga * r.larghezza + colonna)] =
            static_cast<float>(r.nodata.value_or(0));
    if (banda->RasterIO(GF_Write, 0, 0, r.larghezza, r.altezza, valori.data(), r.larghezza,
                        r.altezza, GDT_Float32, 0, 0, nullptr) != CE_None)
        throw std::runtime_error("GDAL non scrive " + nome);
    GDALClose(d);
    vsi_l_offset lunghezza = 0;
    GByte* dati = VSIGetMemFileBuffer(nome.c_str(), &lunghezza, TRUE);
    std::string byte(reinterpret_cast<const char*>(dati), static_cast<std::size_t>(lunghezza));
    CPLFree(dati);
    return byte;
}

} // namespace corvenna::prova
