# The layers of src/, one folder and one library each, and the layers each may use. A layer may
# include the headers of the layers on its row and of every layer those may use in turn, and no
# other. The build links each library with its row; the layering test reads the same table.
set(GENERA_STRATI
  base model description diagnostics format compiler finishing pipeline checking output input scenario
  inspect running drawing editor importer platform generator tool)

set(GENERA_USA_base        "")
set(GENERA_USA_model       base)
set(GENERA_USA_description model base)
set(GENERA_USA_diagnostics base)
set(GENERA_USA_format      model base)
set(GENERA_USA_compiler    description diagnostics format model base)
set(GENERA_USA_finishing   model base)
set(GENERA_USA_pipeline    compiler finishing diagnostics)
set(GENERA_USA_checking    compiler description diagnostics format model base)
set(GENERA_USA_output      format model base)
set(GENERA_USA_input       format model base)
set(GENERA_USA_scenario    inspect input format model base)
set(GENERA_USA_inspect     input finishing format model base)
set(GENERA_USA_running     input inspect pipeline description diagnostics format model base)
set(GENERA_USA_drawing     running input finishing format model base)
set(GENERA_USA_editor      pipeline diagnostics description format model base)
set(GENERA_USA_importer    description diagnostics format model base)
set(GENERA_USA_platform    base)
set(GENERA_USA_generator   pipeline output scenario platform)
set(GENERA_USA_tool        pipeline checking output input scenario inspect running drawing editor importer platform diagnostics
                           description format model base)
