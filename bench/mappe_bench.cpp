// What the map readers hold, against the size of the file they read: a PBF map of dense nodes
// (millions of untagged nodes, packed into a few hundred kilobytes, beside one railway of three
// nodes between two stations), read between its two stations; and the heights of `--quota`
// from a deflate-tiled GeoTIFF whose path crosses every tile. Each reports the heap held at the
// peak (what the program asks of operator new) and the process's resident peak over the read,
// which also counts what GDAL allocates (Linux: the peak is reset before the read through
// /proc/self/clear_refs). Run each alone (--benchmark_filter) for a resident peak of its own.

#include "contatore_memoria.hpp"

#include "importer/lettore_osm.hpp"
#include "importer/quota_raster.hpp"

#include <benchmark/benchmark.h>
#include <cpl_vsi.h>
#include <gdal_frmts.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <osmium/builder/osm_object_builder.hpp>
#include <osmium/io/pbf_output.hpp>
#include <osmium/io/writer.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace corvenna {

namespace {

// Resets the process's resident peak to what it holds now; false where the system cannot.
bool azzera_picco_residente() {
    std::ofstream f("/proc/self/clear_refs");
    f << "5";
    return static_cast<bool>(f);
}

// The process's resident peak in bytes since the last reset (0 where the system does not say).
double picco_residente() {
    std::ifstream f("/proc/self/status");
    for (std::string riga; std::getline(f, riga);)
        if (riga.rfind("VmHWM:", 0) == 0)
            return std::stod(riga.substr(6)) * 1024;
    return 0;
}

void contatori(benchmark::State& state, std::size_t byte_file, double picco_heap,
               double picco_rss) {
    using benchmark::Counter;
    state.counters["byte_file"] =
        Counter(static_cast<double>(byte_file), Counter::kDefaults, Counter::kIs1024);
    state.counters["picco_heap"] = Counter(picco_heap, Counter::kDefaults, Counter::kIs1024);
    state.counters["picco_rss"] = Counter(picco_rss, Counter::kDefaults, Counter::kIs1024);
}

// A PBF map of `nodi` untagged nodes all but at one point, then Altavilla (node nodi + 1), a node
// and Borgofranco (nodi + 3) 100 m apart on one railway way.
std::string mappa_densa(std::int64_t nodi) {
    const std::filesystem::path percorso = std::filesystem::temp_directory_path() /
                                           ("mappe_bench_" + std::to_string(nodi) + ".osm.pbf");
    {
        osmium::io::Header testa;
        osmium::io::Writer scrittore(osmium::io::File(percorso.string(), "pbf,add_metadata=false"),
                                     testa, osmium::io::overwrite::allow);
        auto nodo = [](osmium::memory::Buffer& b, std::int64_t id, double lat, const char* nome) {
            osmium::builder::NodeBuilder n(b);
            n.set_id(id);
            n.set_location(osmium::Location(9.0, lat));
            if (nome) {
                osmium::builder::TagListBuilder tag(n);
                tag.add_tag("railway", "station");
                tag.add_tag("name", nome);
            }
        };
        for (std::int64_t da = 1; da <= nodi; da += 100000) {
            osmium::memory::Buffer b(1 << 22, osmium::memory::Buffer::auto_grow::yes);
            for (std::int64_t i = da; i < da + 100000 && i <= nodi; ++i) {
                nodo(b, i, 44.0 + static_cast<double>(i) * 1e-9, nullptr);
                b.commit();
            }
            scrittore(std::move(b));
        }
        osmium::memory::Buffer b(1 << 16, osmium::memory::Buffer::auto_grow::yes);
        nodo(b, nodi + 1, 45.0, "Altavilla");
        b.commit();
        nodo(b, nodi + 2, 45.0005, nullptr);
        b.commit();
        nodo(b, nodi + 3, 45.001, "Borgofranco");
        b.commit();
        {
            osmium::builder::WayBuilder via(b);
            via.set_id(1);
            {
                osmium::builder::WayNodeListBuilder nd(via);
                for (std::int64_t i = 1; i <= 3; ++i)
                    nd.add_node_ref(nodi + i);
            }
            osmium::builder::TagListBuilder tag(via);
            tag.add_tag("railway", "rail");
        }
        b.commit();
        scrittore(std::move(b));
        scrittore.close();
    }
    std::ifstream f(percorso, std::ios::binary);
    std::string byte{std::istreambuf_iterator<char>(f), {}};
    std::filesystem::remove(percorso);
    return byte;
}

void BM_mappa_pbf_densa(benchmark::State& state) {
    const std::string mappa = mappa_densa(state.range(0));
    banco::azzera_picco();
    azzera_picco_residente();
    std::size_t punti = 0;
    for (auto _ : state) {
        const esito_mappa m = leggi_osm(mappa, formato_osm::pbf, {"Altavilla", "Borgofranco"});
        if (!m.mappa) {
            state.SkipWithError(m.errore->messaggio.c_str());
            return;
        }
        punti = m.mappa->percorso.size();
    }
    state.counters["nodi"] = static_cast<double>(state.range(0));
    state.counters["punti"] = static_cast<double>(punti);
    contatori(state, mappa.size(), static_cast<double>(banco::picco_dall_azzeramento()),
              picco_residente());
}
BENCHMARK(BM_mappa_pbf_densa)
    ->Arg(1'000'000)
    ->Arg(8'000'000)
    ->Arg(32'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// A deflate-tiled GeoTIFF of `lato` x `lato` Float32 pixels in tiles of 512, a gentle slope.
std::string raster_a_tasselli(int lato) {
    GDALRegister_GTiff();
    const std::string nome = "/vsimem/mappe_bench.tif";
    const char* opzioni[] = {"TILED=YES", "COMPRESS=DEFLATE", "BLOCKXSIZE=512", "BLOCKYSIZE=512",
                             nullptr};
    GDALDataset* d = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(
        nome.c_str(), lato, lato, 1, GDT_Float32, const_cast<char**>(opzioni));
    const double t[6] = {9.0, 0.1 / lato, 0, 45.1, 0, -0.1 / lato};
    d->SetGeoTransform(const_cast<double*>(t));
    OGRSpatialReference s;
    s.SetFromUserInput("EPSG:4326");
    d->SetSpatialRef(&s);
    std::vector<float> riga(static_cast<std::size_t>(lato));
    for (int y = 0; y < lato; ++y) {
        for (int x = 0; x < lato; ++x)
            riga[static_cast<std::size_t>(x)] = static_cast<float>(200 + (x + y) / 64);
        if (d->GetRasterBand(1)->RasterIO(GF_Write, 0, y, lato, 1, riga.data(), lato, 1,
                                          GDT_Float32, 0, 0, nullptr) != CE_None)
            break;
    }
    GDALClose(d);
    vsi_l_offset lunghezza = 0;
    GByte* dati = VSIGetMemFileBuffer(nome.c_str(), &lunghezza, TRUE);
    std::string byte(reinterpret_cast<const char*>(dati), static_cast<std::size_t>(lunghezza));
    CPLFree(dati);
    return byte;
}

// 8192 x 8192 pixels (256 MiB of heights in 256 tiles), 100 000 points on a zigzag over the
// whole raster, so that every tile is read.
void BM_quota_raster_a_tasselli(benchmark::State& state) {
    const int lato = 8192;
    const std::string raster = raster_a_tasselli(lato);
    std::vector<punto_geografico> percorso;
    constexpr int punti = 100000;
    for (int i = 0; i < punti; ++i) {
        const double f = static_cast<double>(i) / punti;
        const double giri = 16 * f;
        const double x = (static_cast<int>(giri) % 2 == 0) ? giri - static_cast<int>(giri)
                                                           : 1 - (giri - static_cast<int>(giri));
        percorso.push_back({9.0 + 0.1 * x, 45.1 - 0.1 * f, std::nullopt});
    }
    banco::azzera_picco();
    azzera_picco_residente();
    for (auto _ : state) {
        const quote_raster q = campiona_quote(raster, percorso);
        if (q.errore) {
            state.SkipWithError(q.errore->messaggio.c_str());
            return;
        }
        benchmark::DoNotOptimize(q.campioni.data());
    }
    contatori(state, raster.size(), static_cast<double>(banco::picco_dall_azzeramento()),
              picco_residente());
}
BENCHMARK(BM_quota_raster_a_tasselli)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

} // namespace corvenna
