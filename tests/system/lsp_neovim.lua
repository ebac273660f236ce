-- Run by lsp_neovim.sh inside headless Neovim: the language server started as an editor
-- configures it, a fault's diagnostic awaited at its line, the fault mended by an edit, the
-- diagnostics awaited to clear. Exits 0 on success, 1 with the reason on standard error.
local scenario = os.getenv('SCENARIO')
local cartella = os.getenv('CARTELLA')
local riga = tonumber(os.getenv('RIGA'))

local function fallisci(motivo)
  io.stderr:write('FALLITO: ' .. motivo .. '\n')
  vim.cmd('cquit 1')
end

vim.cmd('edit ' .. vim.fn.fnameescape(cartella .. '/Rivalta_linea.txt'))
local buffer = vim.api.nvim_get_current_buf()
local configurazione = { name = 'scenario', cmd = { scenario, 'lsp' }, root_dir = cartella }
local cliente
if vim.lsp.start then
  cliente = vim.lsp.start(configurazione)
else
  -- Neovim 0.7: start the client, then attach the buffer.
  cliente = vim.lsp.start_client(configurazione)
  vim.lsp.buf_attach_client(buffer, cliente)
end
if not cliente then
  fallisci('il server non parte')
end

local function errori()
  return vim.diagnostic.get(buffer, { severity = vim.diagnostic.severity.ERROR })
end

if not vim.wait(30000, function() return #errori() > 0 end, 50) then
  fallisci('nessuna diagnostica ricevuta')
end
local d = errori()[1]
if d.lnum ~= riga or d.col ~= 22 or d.code ~= 15 then
  fallisci(string.format('diagnostica attesa alla riga %d, colonna 22, codice 15: ricevuta %s',
                         riga, vim.inspect(d)))
end
io.stdout:write(string.format('ricevuta: riga %d: %s\n', d.lnum + 1, d.message))

-- The fix, typed: the board back at 2900 m (an incremental change of one field).
local testo = vim.api.nvim_buf_get_lines(buffer, riga, riga + 1, false)[1]
local inizio = testo:find('99500', 1, true)
vim.api.nvim_buf_set_text(buffer, riga, inizio - 1, riga, inizio + 4, { '2900' })

if not vim.wait(30000, function() return #vim.diagnostic.get(buffer) == 0 end, 50) then
  fallisci('le diagnostiche restano dopo la correzione: ' .. vim.inspect(vim.diagnostic.get(buffer)))
end
io.stdout:write('nessuna diagnostica dopo la correzione\n')

vim.lsp.stop_client(cliente)
vim.wait(5000, function() return vim.lsp.get_client_by_id(cliente) == nil end, 50)
vim.cmd('qall!')
