#include "importer/quota_raster.hpp"

#include "importer/descrizioni_importate.hpp"
#include "importer/lettore_gpx.hpp"
#include "importer/quote_percorso.hpp"
#include "pipeline/costruisci_scenario.hpp"
#include "unit/importer/raster_di_prova.hpp"

#include <gtest/gtest.h>

#include <proj.h>

#include <stdexcept>

#include <string>
#include <vector>

namespace corvenna {
namespace {

using prova::geotiff;
using prova::raster_di_prova;

// A GPX track without heights: 31 points 0.001 degrees of latitude apart (111 m), from
// (9.000 E, 45.000 N), each `passo_lon` degrees further east than the one before.
std::string traccia_senza_quote(double passo_lon) {
    std::string gpx = "<gpx version=\"1.1\"><trk><trkseg>";
    for (int i = 0; i <= 30; ++i)
        gpx += "<trkpt lat=\"" + std::to_string(45 + 0.001 * i) + "\" lon=\"" +
               std::to_string(9 + passo_lon * i) + "\"/>";
    return gpx + "</trkseg></trk></gpx>";
}

// The whole import of the track with the raster's heights: read, sampled, fitted, laid out and
// compiled.
struct importata {
    mappa_importata mappa;
    quote_applicate quote;
    geometria_importata geometria;
    bool compilata = false;
};

importata importa_con_raster(const std::string& gpx, const std::string& raster) {
    importata i;
    esito_mappa letta = leggi_gpx(gpx);
    EXPECT_TRUE(letta.mappa);
    i.mappa = std::move(*letta.mappa);
    const quote_raster campioni = campiona_quote(raster, i.mappa.percorso);
    EXPECT_FALSE(campioni.errore) << campioni.errore->messaggio;
    i.quote = applica_quote(i.mappa, campioni.campioni);
    const esito_geometria g = adatta_geometria(i.mappa.percorso);
    EXPECT_TRUE(g.geometria);
    i.geometria = *g.geometria;
    const descrizioni_importate d = componi_descrizioni(i.mappa, i.geometria, {});
    sorgente_memoria sorgente;
    sorgente.testi[descrizione::linea] = d.linea;
    sorgente.testi[descrizione::treno] = d.treno;
    const scenario_costruito s = costruisci_scenario(sorgente, {"Quote", "0001"}, 1);
    i.compilata = s.riuscito() && s.diagnostiche.empty();
    return i;
}

TEST(QuotaRaster, AGeographicRastersHeightsAreInterpolatedAtEveryPointAndTheLineCompiles) {
    // 0.0005 degrees a pixel over 8.99..9.01 E, 44.99..45.04 N; a plane rising 2000 m a degree
    // northwards and 1000 m a degree eastwards, which bilinear interpolation gives exactly.
    raster_di_prova r;
    r.trasformazione = {8.99, 0.0005, 0, 45.04, 0, -0.0005};
    r.larghezza = 40;
    r.altezza = 100;
    r.quota = [](double lon, double lat) { return 100 + 2000 * (lat - 45) + 1000 * (lon - 9); };
    const importata i = importa_con_raster(traccia_senza_quote(0.0001), geotiff(r));

    EXPECT_EQ(i.quote.campionati, 31u);
    EXPECT_TRUE(i.quote.note.empty());
    for (const int p : {0, 7, 15, 30}) {
        ASSERT_TRUE(i.mappa.percorso[p].quota) << p;
        EXPECT_NEAR(*i.mappa.percorso[p].quota, 100 + 2.0 * p + 0.1 * p, 0.01) << p;
    }
    // About 18.9 per mille over the whole line, and the fitted profile within centimetres of it.
    ASSERT_TRUE(i.geometria.scarto_quota_massimo);
    EXPECT_LT(*i.geometria.scarto_quota_massimo, 0.2);
    ASSERT_FALSE(i.geometria.pendenze.empty());
    EXPECT_NEAR(i.geometria.pendenze.front().per_mille, 19, 1);
    EXPECT_TRUE(i.compilata);
}

TEST(QuotaRaster, AProjectedRasterIsReachedThroughItsReferenceSystem) {
    // UTM zone 32 N, 20 m pixels over 498000..502000 E, 4981000..4987000 N; heights a plane in
    // the raster's metres. The expected heights come from PROJ's own conversion of each point.
    raster_di_prova r;
    r.riferimento = "EPSG:32632";
    r.trasformazione = {498000, 20, 0, 4987000, 0, -20};
    r.larghezza = 200;
    r.altezza = 300;
    auto piano = [](double est, double nord) {
        return 50 + 0.01 * (nord - 4980000) + 0.005 * (est - 500000);
    };
    r.quota = piano;
    const std::string gpx = traccia_senza_quote(0.0005);
    const importata i = importa_con_raster(gpx, geotiff(r));
    EXPECT_EQ(i.quote.campionati, 31u);

    PJ_CONTEXT* contesto = proj_context_create();
    PJ* grezza = proj_create_crs_to_crs(contesto, "EPSG:4326", "EPSG:32632", nullptr);
    PJ* utm = proj_normalize_for_visualization(contesto, grezza);
    for (const int p : {0, 12, 30}) {
        const punto_geografico& punto = i.mappa.percorso[p];
        const PJ_COORD c =
            proj_trans(utm, PJ_FWD, proj_coord(punto.longitudine, punto.latitudine, 0, 0));
        ASSERT_TRUE(punto.quota) << p;
        EXPECT_NEAR(*punto.quota, piano(c.xy.x, c.xy.y), 0.01) << p;
    }
    proj_destroy(utm);
    proj_destroy(grezza);
    proj_context_destroy(contesto);
    EXPECT_TRUE(i.compilata);
}

TEST(QuotaRaster, PointsOutsideTheRasterOrOnPixelsWithoutDataHaveNoSample) {
    // 0.001 degree pixels over 8.995..9.005 E, 44.995..45.005 N, the pixel with centre
    // (9.0005, 45.0015) without data.
    raster_di_prova r;
    r.trasformazione = {8.995, 0.001, 0, 45.005, 0, -0.001};
    r.larghezza = 10;
    r.altezza = 10;
    r.quota = [](double, double) { return 250.0; };
    r.nodata = -9999;
    r.senza_dati = {{5, 3}};
    const std::vector<punto_geografico> punti{{9.0, 45.0, std::nullopt},
                                              {9.0008, 45.0012, std::nullopt},
                                              {9.02, 45.0, std::nullopt},
                                              {9.0, 44.99, std::nullopt},
                                              {9.0045, 45.0045, std::nullopt}};
    const quote_raster q = campiona_quote(geotiff(r), punti);
    ASSERT_FALSE(q.errore) << q.errore->messaggio;
    ASSERT_EQ(q.campioni.size(), punti.size());
    EXPECT_EQ(q.campioni[0].esito, esito_campione::quota);
    EXPECT_NEAR(q.campioni[0].quota, 250, 1e-9);
    EXPECT_EQ(q.campioni[1].esito, esito_campione::senza_dati);
    EXPECT_EQ(q.campioni[2].esito, esito_campione::fuori);
    EXPECT_EQ(q.campioni[3].esito, esito_campione::fuori);
    // Beyond the last pixel centre but inside the raster: the edge pixels' value.
    EXPECT_EQ(q.campioni[4].esito, esito_campione::quota);
    EXPECT_NEAR(q.campioni[4].quota, 250, 1e-9);
}

TEST(QuotaRaster, HeightsInFeetAreTurnedIntoMetres) {
    raster_di_prova r;
    r.trasformazione = {8.99, 0.01, 0, 45.01, 0, -0.01};
    r.larghezza = 2;
    r.altezza = 2;
    r.quota = [](double, double) { return 1000.0; };
    r.unita = "ft";
    const std::vector<punto_geografico> punti{{9.0, 45.0, std::nullopt}};
    const quote_raster q = campiona_quote(geotiff(r), punti);
    ASSERT_FALSE(q.errore) << q.errore->messaggio;
    EXPECT_NEAR(q.campioni.at(0).quota, 304.8, 1e-6);
}

TEST(QuotaRaster, ARasterThatCannotGiveHeightsIsRefusedSayingWhy) {
    raster_di_prova buono;
    buono.trasformazione = {8.99, 0.01, 0, 45.01, 0, -0.01};
    buono.larghezza = 2;
    buono.altezza = 2;
    raster_di_prova senza_riferimento = buono;
    senza_riferimento.riferimento.clear();
    raster_di_prova senza_posizione = buono;
    senza_posizione.trasformazione.reset();
    raster_di_prova locale = buono;
    locale.riferimento = R"(LOCAL_CS["cantiere",UNIT["metre",1],AXIS["X",EAST],AXIS["Y",NORTH]])";
    raster_di_prova furlong = buono;
    furlong.unita = "furlong";
    const std::string intero = geotiff(buono);
    struct caso {
        const char* nome;
        std::string byte;
        std::string messaggio;
    };
    const std::vector<caso> casi{
        {"vuoto", "", "il file e' vuoto"},
        {"testo", "quota 120 m\n", "non e' un raster GeoTIFF leggibile"},
        {"troncato", intero.substr(0, 100), "non e' un raster GeoTIFF leggibile"},
        {"senza riferimento", geotiff(senza_riferimento),
         "il raster non dichiara il suo sistema di riferimento"},
        {"senza posizione", geotiff(senza_posizione),
         "il raster non e' georeferenziato (manca la posizione dei suoi pixel)"},
        {"riferimento locale", geotiff(locale),
         "il sistema di riferimento del raster (cantiere) non si raggiunge da WGS 84"},
        {"unita' sconosciuta", geotiff(furlong),
         "le quote del raster sono in \"furlong\": servono metri o piedi"},
    };
    const std::vector<punto_geografico> punti{{9.0, 45.0, std::nullopt}};
    for (const caso& c : casi) {
        const quote_raster q = campiona_quote(c.byte, punti);
        ASSERT_TRUE(q.errore) << c.nome;
        EXPECT_EQ(q.errore->messaggio, c.messaggio) << c.nome;
        EXPECT_TRUE(q.campioni.empty()) << c.nome;
    }
}

// A tiled, compressed GeoTIFF whose tiles are `lato` pixels square and hold nothing: a file of
// a few hundred bytes that asks a reader for lato * lato * 4 bytes per tile.
std::string raster_a_tasselli(int lato) {
    GDALRegister_GTiff();
    const std::string nome = "/vsimem/raster_a_tasselli_" + std::to_string(lato) + ".tif";
    const std::string bx = "BLOCKXSIZE=" + std::to_string(lato);
    const std::string by = "BLOCKYSIZE=" + std::to_string(lato);
    const char* opzioni[] = {"TILED=YES", "COMPRESS=DEFLATE", "SPARSE_OK=TRUE",
                             bx.c_str(),  by.c_str(),         nullptr};
    GDALDriver* tiff = GetGDALDriverManager()->GetDriverByName("GTiff");
    GDALDataset* d =
        tiff->Create(nome.c_str(), lato, lato, 1, GDT_Float32, const_cast<char**>(opzioni));
    if (!d)
        throw std::runtime_error("GDAL non crea " + nome);
    const double t[6] = {8.9, 0.2 / lato, 0, 45.1, 0, -0.2 / lato};
    d->SetGeoTransform(const_cast<double*>(t));
    OGRSpatialReference s;
    s.SetFromUserInput("EPSG:4326");
    d->SetSpatialRef(&s);
    GDALClose(d);
    vsi_l_offset lunghezza = 0;
    GByte* dati = VSIGetMemFileBuffer(nome.c_str(), &lunghezza, TRUE);
    std::string byte(reinterpret_cast<const char*>(dati), static_cast<std::size_t>(lunghezza));
    CPLFree(dati);
    return byte;
}

TEST(QuotaRaster, ATileLargerThanTheBoundIsRefusedBeforeItIsRead) {
    const std::vector<punto_geografico> punti{{9.0, 45.0, std::nullopt}};
    // 4096 x 4096 pixels of 4 bytes: 64 MiB, the most a tile may take.
    const std::string ammesso = raster_a_tasselli(4096);
    const quote_raster q = campiona_quote(ammesso, punti);
    EXPECT_FALSE(q.errore) << q.errore->messaggio;
    const std::string grande = raster_a_tasselli(16384);
    ASSERT_LT(grande.size(), 100'000u);
    const quote_raster rifiutato = campiona_quote(grande, punti);
    ASSERT_TRUE(rifiutato.errore);
    EXPECT_EQ(rifiutato.errore->messaggio,
              "un blocco del raster (16384 x 16384 pixel) occupa 1024 MiB in memoria, oltre i "
              "64 MiB ammessi: riscrivere il raster a tasselli piu' piccoli");
}

TEST(QuotePercorso, TheRasterIsTheOnlySourceOfHeightsAndEachRunItMissesIsOneNote) {
    mappa_importata m;
    for (int i = 0; i < 7; ++i) {
        m.percorso.push_back({9.0, 45 + 0.001 * i, std::nullopt});
        m.elementi_punti.push_back("nodo " + std::to_string(100 + i));
    }
    m.percorso[0].quota = 30;
    m.percorso[1].quota = 31;
    m.percorso[2].quota = 32;
    const std::vector<campione_quota> campioni{
        {esito_campione::fuori, 0},      {esito_campione::quota, 10}, {esito_campione::fuori, 0},
        {esito_campione::senza_dati, 0}, {esito_campione::quota, 14}, {esito_campione::fuori, 0},
        {esito_campione::fuori, 0}};
    const quote_applicate a = applica_quote(m, campioni);
    EXPECT_FALSE(a.errore);
    EXPECT_EQ(a.campionati, 2u);
    // Level before the first covered point and after the last, bridged by the fit between.
    const std::vector<std::optional<double>> attese{10, 10, std::nullopt, std::nullopt, 14, 14, 14};
    for (std::size_t i = 0; i < attese.size(); ++i)
        EXPECT_EQ(m.percorso[i].quota, attese[i]) << i;
    const std::vector<nota_importazione> note{
        {"punto 0 (nodo 100)", "fuori dal raster (lon 9.000000, lat 45.000000): profilo in piano "
                               "alla quota del punto 1 (10.00 m); le quote della mappa non sono "
                               "usate"},
        {"punto 2 (nodo 102)", "fuori dal raster (lon 9.000000, lat 45.002000): profilo in linea "
                               "tra le quote dei punti 1 e 4; le quote della mappa non sono usate"},
        {"punto 3 (nodo 103)", "su pixel senza dati del raster (lon 9.000000, lat 45.003000): "
                               "profilo in linea tra le quote dei punti 1 e 4"},
        {"punti 5-6 (da nodo 105 a nodo 106)", "fuori dal raster (lon 9.000000, lat 45.005000): "
                                               "profilo in piano alla quota del punto 4 (14.00 m)"},
    };
    ASSERT_EQ(a.note.size(), note.size());
    for (std::size_t i = 0; i < note.size(); ++i) {
        EXPECT_EQ(a.note[i].elemento, note[i].elemento) << i;
        EXPECT_EQ(a.note[i].messaggio, note[i].messaggio) << i;
    }
}

TEST(QuotePercorso, ARasterThatCoversNoPointIsAnErrorAndChangesNothing) {
    mappa_importata m;
    m.percorso = {{9.0, 45.0, 120.0}, {9.0, 45.01, std::nullopt}};
    m.elementi_punti = {"punto 0", "punto 1"};
    const std::vector<campione_quota> campioni{{esito_campione::fuori, 0},
                                               {esito_campione::senza_dati, 0}};
    const quote_applicate a = applica_quote(m, campioni);
    ASSERT_TRUE(a.errore);
    EXPECT_EQ(a.errore->dove, "percorso");
    EXPECT_EQ(a.errore->messaggio, "nessun punto del percorso (dal punto 0, lon 9.000000, lat "
                                   "45.000000) cade su un valore del raster");
    EXPECT_EQ(m.percorso[0].quota, 120.0);
    EXPECT_FALSE(m.percorso[1].quota);
}

} // namespace
} // namespace corvenna
